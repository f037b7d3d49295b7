#pragma once

#include <cstdint>

namespace emulator::media {

constexpr int kGlyphWidth = 8;
constexpr int kGlyphHeight = 16;

// The 16 rows of a character's cell; characters outside printable ASCII show as '?'.
const uint8_t* GlyphRows(char c);

}  // namespace emulator::media
