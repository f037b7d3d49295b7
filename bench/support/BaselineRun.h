#pragma once

#include "bench/support/H264Encoder.h"

#include <vector>

namespace benchsupport {

struct BaselineResult {
    double cpuSeconds = 0;
    long pictures = 0;
    double MsPerPicture() const { return pictures > 0 ? cpuSeconds * 1000.0 / static_cast<double>(pictures) : 0.0; }
};

// The order the baseline decodes the cameras' pictures in.
enum class BaselineOrder {
    // Camera after camera: each decoder's data stays in the caches.
    Sequential,
    // One picture of each camera in turn, as live pictures come.
    InTurn,
    // In turn and at the live rate: one picture of every camera each frame
    // period, idle in between, as a live stream feeds a decoder. A processor
    // that idles between bursts of work pays for it in cold caches and
    // wake-ups, so this is the baseline a live path can be held to.
    Paced,
};

// Decodes `pictures` access units of every camera's loop (repeating it) with
// a BaselineDecoder per camera and scales each picture to the pane.
// `framesPerSecond` sets the pace of BaselineOrder::Paced.
BaselineResult RunBaseline(const std::vector<std::vector<AccessUnit>>& cameras, int pictures, BaselineOrder order,
                           int paneWidth, int paneHeight, int framesPerSecond = 25);

// Every order, measured one after the other.
struct BaselineSet {
    BaselineResult sequential;
    BaselineResult inTurn;
    BaselineResult paced;
};

BaselineSet RunBaselines(const std::vector<std::vector<AccessUnit>>& cameras, int pictures, int paneWidth,
                         int paneHeight, int framesPerSecond = 25);

// A path's CPU per picture shown over each baseline's mean of before and after.
struct BaselineRatios {
    double sequential = 0;
    double inTurn = 0;
    double paced = 0;
};

// Prints each baseline measured before and after the path under test and the
// ratio of `msPerPicture` (the path's CPU per picture shown) to their means.
BaselineRatios PrintBaselineRatios(const char* path, double msPerPicture, const BaselineSet& before,
                                   const BaselineSet& after, int paneWidth, int paneHeight);
// Prints the median of each ratio over the rounds of a run.
void PrintMedianRatios(const char* path, const std::vector<BaselineRatios>& rounds);

} // namespace benchsupport
