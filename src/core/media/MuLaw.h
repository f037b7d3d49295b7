#pragma once

#include <cstdint>

// G.711 mu-law companding of 16-bit linear samples.

namespace media {

uint8_t LinearToMuLaw(int16_t sample);
int16_t MuLawToLinear(uint8_t code);

}  // namespace media
