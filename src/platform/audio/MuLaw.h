#pragma once

#include <cstddef>
#include <cstdint>

namespace audio {

// G.711 mu-law byte to a 16-bit linear sample (range -32124..32124).
int16_t MuLawToLinear(uint8_t code);

// Decodes count bytes into count samples, scaled by volume 0..100.
void DecodeMuLaw(const uint8_t* codes, size_t count, int volume, int16_t* samples);

} // namespace audio
