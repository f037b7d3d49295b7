#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/net/WireFormat.h"

// One request from the caller's thread, framed by the session's I/O thread
// (which owns the sequence numbers). A log-in carries the account and password
// instead of a payload: its proof needs the recorder's challenge.
struct ClientRequest {
    wire::MessageType type = wire::MessageType::Poll;
    std::vector<std::uint8_t> payload;
    std::string account;
    std::string password;

    static ClientRequest Login(std::string account, std::string password);
    static ClientRequest Of(wire::MessageType type, std::vector<std::uint8_t> payload = {});
};
