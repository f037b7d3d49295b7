#pragma once

#include "bench/support/H264Encoder.h"

#include <vector>

namespace benchsupport {

struct BaselineResult {
    double cpuSeconds = 0;
    long pictures = 0;
    double MsPerPicture() const { return pictures > 0 ? cpuSeconds * 1000.0 / static_cast<double>(pictures) : 0.0; }
};

// Decodes `pictures` access units of every camera's loop (repeating it) with
// a BaselineDecoder per camera and scales each picture to the pane. Camera
// after camera keeps each decoder's data in the caches; `inTurn` takes one
// picture of each camera in turn, as live pictures come.
BaselineResult RunBaseline(const std::vector<std::vector<AccessUnit>>& cameras, int pictures, bool inTurn,
                           int paneWidth, int paneHeight);

} // namespace benchsupport
