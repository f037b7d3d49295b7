#include "core/media/MuLaw.h"

namespace media {
namespace {

constexpr int kBias = 0x84;
constexpr int kClip = 32635;

}  // namespace

uint8_t LinearToMuLaw(int16_t sample)
{
    int value = sample;
    const int sign = value < 0 ? 0x80 : 0x00;
    if (value < 0)
        value = -value;
    if (value > kClip)
        value = kClip;
    value += kBias;
    int exponent = 7;
    for (int mask = 0x4000; (value & mask) == 0 && exponent > 0; mask >>= 1)
        --exponent;
    const int mantissa = (value >> (exponent + 3)) & 0x0F;
    return static_cast<uint8_t>(~(sign | (exponent << 4) | mantissa));
}

int16_t MuLawToLinear(uint8_t code)
{
    const int inverted = ~code & 0xFF;
    const int exponent = (inverted >> 4) & 0x07;
    const int mantissa = inverted & 0x0F;
    const int magnitude = (((mantissa << 3) + kBias) << exponent) - kBias;
    return static_cast<int16_t>((inverted & 0x80) ? -magnitude : magnitude);
}

void DecodeMuLaw(const uint8_t* codes, size_t count, int volume, int16_t* samples)
{
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<int16_t>(MuLawToLinear(codes[i]) * volume / 100);
}

}  // namespace media
