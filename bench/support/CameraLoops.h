#pragma once

#include "bench/support/H264Encoder.h"
#include "core/media/MediaLoop.h"

#include <vector>

namespace benchsupport {

// A video loop's access units: PES payloads joined up to the next time
// stamp. Empty when a unit is not a video PES packet.
std::vector<AccessUnit> VideoAccessUnits(const media::MediaLoop& loop);

// Bits a second of a loop of access units at the frame rate.
double LoopBitRate(const std::vector<AccessUnit>& loop, int framesPerSecond);

} // namespace benchsupport
