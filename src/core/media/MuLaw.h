#pragma once

#include <cstddef>
#include <cstdint>

// G.711 mu-law companding of 16-bit linear samples.

namespace media {

uint8_t LinearToMuLaw(int16_t sample);
int16_t MuLawToLinear(uint8_t code);

// Decodes count codes into count samples, scaled by volume 0..100.
void DecodeMuLaw(const uint8_t* codes, size_t count, int volume, int16_t* samples);

}  // namespace media
