#pragma once

#include <cstddef>
#include <cstdint>

namespace mpeg {

// CRC-32 of program stream maps and sections: polynomial 0x04C11DB7, initial
// value 0xFFFFFFFF, no reflection, no final XOR. Run over a whole map with its
// CRC field included it yields 0.
uint32_t Crc32Mpeg(const uint8_t* data, size_t size);

} // namespace mpeg
