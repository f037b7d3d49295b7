#include "core/mpeg/StartCode.h"

namespace mpeg {

bool HasStartCode(const uint8_t* data, size_t size, uint8_t code)
{
    return size >= 4 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == code;
}

size_t FindStartCode(const uint8_t* data, size_t size, size_t from, uint8_t minCode)
{
    for (size_t i = from; i + 3 < size; ++i) {
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1 && data[i + 3] >= minCode)
            return i;
    }
    return size;
}

} // namespace mpeg
