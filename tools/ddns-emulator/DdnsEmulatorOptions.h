#pragma once
// Command line of ddns-emulator.

#include <netinet/in.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ddns_emulator {

// How the emulator answers a query (the faults are for tests).
enum class ReplyMode {
    Normal,    // the reply frame
    Silent,    // read queries, never answer
    Close,     // hang up without answering
    Garbage,   // a frame whose field length runs past its payload
    Overlong,  // a frame whose payload is longer than a client's 128-byte buffer
};

struct Registration {
    std::string address;  // dotted IPv4
    std::uint16_t port = 0;
};

struct EmulatorOptions {
    bool help = false;
    sockaddr_in listen{};                         // loopback only; port 0 picks a free one
    std::map<std::string, Registration> names;   // keys folded to lower case
    ReplyMode mode = ReplyMode::Normal;
    bool portFirst = false;
    std::size_t junkBytes = 0;   // sent before the frame's 0xAF
    std::size_t splitParts = 1;  // the answer goes out in this many writes
    int pauseMs = 100;           // between those writes
};

std::optional<EmulatorOptions> ParseEmulatorOptions(const std::vector<std::string>& args, std::string* error);
const char* EmulatorUsage();

// Names match without regard to ASCII case, as host names do.
std::string FoldName(const std::string& name);

}  // namespace ddns_emulator
