#pragma once

#include <cstddef>
#include <cstdint>

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
    for (size_t i = 0; i + 3 < size; ++i) {
        if (data[i + 2] > 1) {
            i += 2;  // no prefix can end at i+2 or earlier
            continue;
        }
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1) {
            if (!visit(data[i + 3], i + 3))
                return;
            i += 2;
        }
    }
}

} // namespace mpeg
