#include "platform/netctrl/Ipv4Endpoint.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cstdlib>
#include <cstring>

std::optional<sockaddr_in> ResolveIpv4Endpoint(const std::string& host, std::uint16_t port)
{
    if (host.empty() || port == 0)
        return std::nullopt;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) == 1)
        return address;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    address.sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return address;
}

std::optional<sockaddr_in> ParseIpv4HostPort(const std::string& text)
{
    std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon + 1 >= text.size())
        return std::nullopt;
    std::string portText = text.substr(colon + 1);
    char* end = nullptr;
    long port = std::strtol(portText.c_str(), &end, 10);
    if (*end != '\0' || port <= 0 || port > 65535)
        return std::nullopt;
    return ResolveIpv4Endpoint(text.substr(0, colon), static_cast<std::uint16_t>(port));
}

bool IsLoopback(const sockaddr_in& address)
{
    return (ntohl(address.sin_addr.s_addr) >> 24) == 127;
}
