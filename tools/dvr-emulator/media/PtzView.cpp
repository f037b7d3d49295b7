#include "PtzView.h"

#include <algorithm>
#include <cstdio>

namespace emulator::media {

PtzView PtzView::After(const ::media::PtzCommand& command) const
{
    PtzView next = *this;
    if (command.extended)
        return next;
    next.pan = std::clamp(pan + (command.panRight ? 1 : 0) - (command.panLeft ? 1 : 0), -kPanSteps, kPanSteps);
    next.tilt = std::clamp(tilt + (command.tiltUp ? 1 : 0) - (command.tiltDown ? 1 : 0), -kTiltSteps, kTiltSteps);
    next.zoom = std::clamp(zoom + (command.zoomIn ? 1 : 0) - (command.zoomOut ? 1 : 0), 0, kZoomSteps);
    return next;
}

double PtzView::Scale() const
{
    static constexpr double kScales[kZoomSteps + 1] = {1.0, 1.6, 2.5};
    return kScales[std::clamp(zoom, 0, kZoomSteps)];
}

std::string PtzView::Text() const
{
    char text[32];
    std::snprintf(text, sizeof text, "P%+d T%+d Z%d", pan, tilt, zoom);
    return text;
}

}  // namespace emulator::media
