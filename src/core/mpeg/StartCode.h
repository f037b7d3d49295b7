#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace mpeg {

// The code bytes after the 00 00 01 prefix that begin program-stream units.
constexpr uint8_t kEndCode = 0xB9;
constexpr uint8_t kPackStartCode = 0xBA;
constexpr uint8_t kSystemHeaderCode = 0xBB;
constexpr uint8_t kStreamMapId = 0xBC;
constexpr uint8_t kPrivateStream1Id = 0xBD;
constexpr uint8_t kPaddingStreamId = 0xBE;
constexpr uint8_t kPrivateStream2Id = 0xBF;
constexpr uint8_t kAudioStreamIdBase = 0xC0;  // 0xC0-0xDF
constexpr uint8_t kVideoStreamIdBase = 0xE0;  // 0xE0-0xEF

// True when data holds 00 00 01 followed by code.
bool HasStartCode(const uint8_t* data, size_t size, uint8_t code);

// Offset of the first 00 00 01 xx at or after from whose xx is at least
// minCode; size when there is none.
size_t FindStartCode(const uint8_t* data, size_t size, size_t from, uint8_t minCode);

// Calls visit(codeByte, offsetOfCodeByte) for each 00 00 01 prefix in the
// bytes (elementary stream start codes); stops when visit returns false.
template <typename Visit>
void ForEachStartCode(const uint8_t* data, size_t size, Visit visit)
{
    // memchr finds each prefix's 01 byte many times faster than a byte loop;
    // a 01 is a prefix when two zeros precede it and a code byte follows.
    size_t one = 2;
    while (size >= 4 && one + 1 < size) {
        const void* found = std::memchr(data + one, 1, size - 1 - one);
        if (!found)
            return;
        one = static_cast<size_t>(static_cast<const uint8_t*>(found) - data);
        if (data[one - 1] != 0 || data[one - 2] != 0) {
            ++one;
            continue;
        }
        if (!visit(data[one + 1], one + 1))
            return;
        one += 3;  // the next prefix may begin at the code byte
    }
}

} // namespace mpeg
