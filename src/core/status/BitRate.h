#pragma once

#include <cstdint>

// The panel's rate: bytes received in one second as kilobits per second.
// Worked in 64 bits, so a byte count above 512 MiB does not wrap.
constexpr uint32_t KbpsFromBytes(uint32_t bytesPerSecond)
{
    return static_cast<uint32_t>(static_cast<uint64_t>(bytesPerSecond) * 8 / 1024);
}
