#pragma once
// One DDNS lookup from start to end, for the server selection dialog and the
// command-line client: blocks the calling thread for at most the time limit
// plus the lookup thread's start and end.

#include "core/ddns/DdnsProtocol.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ddns {

// The DDNS server filled in for new server records (a documentation address:
// the maker's service has no address of ours to stand for).
inline constexpr const char* kDefaultServer = "203.0.113.10";
inline constexpr int kLookupTimeoutMs = 3000;

}  // namespace ddns

struct DdnsLookupResult {
    enum Kind {
        Resolved,          // address and port hold the answer
        ConnectionFailed,  // the DDNS server refused or could not be reached
        NotRegistered,     // the server does not know the name (or no name could be: too long, bad bytes)
        TimedOut,          // no answer within the time limit
        NoAnswer,          // the server hung up without a usable answer
        ServerNotFound,    // the DDNS server's own name did not resolve to an IPv4 address
    };
    Kind kind = TimedOut;
    std::string address;     // dotted IPv4 when Resolved
    std::uint16_t port = 0;  // the port the server gave (0 when it gave none)
};

// serverHost: dotted IPv4 or a host name (looked up for IPv4).
DdnsLookupResult ResolveDdnsName(const std::string& name, const std::string& serverHost,
                                 std::uint16_t serverPort = ddns::kServerPort, int timeoutMs = ddns::kLookupTimeoutMs);

// The message box text for a failed lookup: "DDNS Connection Failed!" or
// "Invalid DDNS!"; empty where the user is told nothing (time-out, no answer,
// unknown DDNS server) and for a resolved name.
std::string_view DdnsLookupMessage(DdnsLookupResult::Kind kind);
