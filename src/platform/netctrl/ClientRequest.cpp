#include "platform/netctrl/ClientRequest.h"

#include <utility>

ClientRequest ClientRequest::Login(std::string account, std::string password)
{
    ClientRequest request;
    request.type = wire::MessageType::LoginRequest;
    request.account = std::move(account);
    request.password = std::move(password);
    return request;
}

ClientRequest ClientRequest::Of(wire::MessageType type, std::vector<std::uint8_t> payload)
{
    ClientRequest request;
    request.type = type;
    request.payload = std::move(payload);
    return request;
}
