#pragma once

#include <cstdint>

namespace netauth {

// Live datagrams a client dropped since its session started.
struct DroppedDatagrams {
    std::uint64_t unauthentic = 0;  // failed authentication, not this session's, malformed, or before the key
    std::uint64_t replayed = 0;     // a counter already taken, or below the window
};

}  // namespace netauth
