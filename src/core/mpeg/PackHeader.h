#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace mpeg {

constexpr size_t kPackHeaderSize = 16;          // what we write: 14 bytes and 2 stuffing bytes
constexpr uint32_t kDefaultMuxRate = 50000;     // units of 50 bytes/s: 20 Mbit/s

struct PackHeaderInfo {
    bool mpeg1 = false;       // the 12-byte ISO/IEC 11172-1 form
    uint64_t scrBase = 0;     // 33 bits, 90 kHz
    uint16_t scrExtension = 0;// 9 bits, 27 MHz remainder (0 for MPEG-1)
    uint32_t muxRate = 0;     // 22 bits, units of 50 bytes/s
    size_t size = 0;          // whole header including stuffing
};

// Writes a 16-byte MPEG-2 pack header: the given clock and rate, two stuffing bytes.
void WritePackHeader(uint8_t* out16, uint64_t scrBase = 0, uint32_t muxRate = kDefaultMuxRate);

// Reads a pack header (MPEG-2 or MPEG-1) at data. Nothing when the bytes are
// not one, the marker bits are wrong or the header runs past size.
std::optional<PackHeaderInfo> ParsePackHeader(const uint8_t* data, size_t size);

} // namespace mpeg
