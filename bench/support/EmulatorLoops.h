#pragma once

#include "bench/support/H264Encoder.h"
#include "media/CameraContent.h"

#include <string>
#include <vector>

namespace benchsupport {

// The camera loops dvr-emulator sends for MODEL_C's sixteen cameras with
// --camera-content and --camera-bitrate (0: the plain scene's own rate),
// made by the emulator's own media code and kept in its loop cache (the
// user's, shared with dvr-emulator runs), as access units per camera. Empty
// with *error set when they cannot be made.
std::vector<std::vector<AccessUnit>> MakeEmulatorLoops(emulator::media::CameraContent content, long bitRate,
                                                       std::string* error);

} // namespace benchsupport
