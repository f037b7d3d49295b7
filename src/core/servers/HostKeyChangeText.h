#pragma once

#include <cstdint>
#include <string>

// A recorder that showed another key than the one pinned for its address.
struct HostKeyChange {
    std::string host;
    std::uint16_t port = 0;
    std::string kept;   // the pinned fingerprint, as stored (may be damaged or empty)
    std::string shown;  // the fingerprint of the key the recorder shows now
};

// The viewer's question, one fact a line, ending in "Trust the new key and connect?".
std::string HostKeyQuestionText(const HostKeyChange& change);
// dvrctl's one line (no line break) naming the address and both fingerprints.
std::string HostKeyRefusalLine(const HostKeyChange& change);
