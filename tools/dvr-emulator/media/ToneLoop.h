#pragma once

#include <cstdint>

#include "core/media/MediaLoop.h"

namespace emulator::media {

constexpr int kToneSampleRate = 8000;
constexpr uint32_t kToneUnitMs = 40;

// The pitch of a camera's tone: distinct per camera and a whole number of
// hertz, so a loop of whole seconds repeats without a click.
int ToneFrequencyHz(int camera);

// A G.711 mu-law 8 kHz mono tone of durationMs (a multiple of the unit
// length) in PES units of kToneUnitMs each.
::media::MediaLoop MakeToneLoop(uint8_t streamId, int frequencyHz, uint32_t durationMs);

}  // namespace emulator::media
