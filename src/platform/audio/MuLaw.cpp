#include "platform/audio/MuLaw.h"

namespace audio {

int16_t MuLawToLinear(uint8_t code)
{
    const int u = ~code & 0xFF;
    const int magnitude = (((u & 0x0F) << 3) + 0x84) << ((u & 0x70) >> 4);
    return int16_t((u & 0x80) ? 0x84 - magnitude : magnitude - 0x84);
}

void DecodeMuLaw(const uint8_t* codes, size_t count, int volume, int16_t* samples)
{
    for (size_t i = 0; i < count; ++i)
        samples[i] = int16_t(MuLawToLinear(codes[i]) * volume / 100);
}

} // namespace audio
