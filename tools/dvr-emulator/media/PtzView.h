#pragma once

#include <string>

#include "core/media/PelcoCommandParser.h"

namespace emulator::media {

// Where a synthetic camera looks. Positions are coarse steps: each one is a
// separately encoded loop; a held direction moves the view a step at a time
// (see HeldPtzMoves) and the stop command ends it.
struct PtzView {
    static constexpr int kPanSteps = 3;   // -3..3
    static constexpr int kTiltSteps = 2;  // -2..2
    static constexpr int kZoomSteps = 2;  // 0..2

    int pan = 0;
    int tilt = 0;
    int zoom = 0;

    bool operator==(const PtzView&) const = default;

    // The view after a command; limits hold the view at the ends.
    PtzView After(const ::media::PtzCommand& command) const;
    double Scale() const;  // picture pixels per scene unit
    bool IsHome() const { return pan == 0 && tilt == 0 && zoom == 0; }
    std::string Text() const;  // e.g. "P+1 T-2 Z2", part of cache keys and the overlay
};

}  // namespace emulator::media
