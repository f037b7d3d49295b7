#pragma once

#include "bench/support/H264Encoder.h"

#include <string>
#include <vector>

namespace benchsupport {

// The video loops a recorder emulator stored in its cache folder, each as the
// access units of one camera (PES payloads joined up to the next time
// stamp), in file name order. Files that are not whole video loops are
// passed over.
std::vector<std::vector<AccessUnit>> ReadCameraLoops(const std::string& cacheDir);

// Bits a second of a loop of access units at the frame rate.
double LoopBitRate(const std::vector<AccessUnit>& loop, int framesPerSecond);

} // namespace benchsupport
