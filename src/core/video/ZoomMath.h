#pragma once

#include <optional>

#include "core/video/PaneRect.h"

// Zoom by band: the band drawn over a pane, in window pixels, becomes the part
// of the decoded picture shown in that pane.

// A band narrower or lower than this does not zoom.
constexpr int kMinZoomBand = 6;

struct ZoomPoint {
    int x = 0;
    int y = 0;
};

// The viewport in picture pixels for a band with corners a and b (any order)
// over `pane`, for a pictureWidth x pictureHeight picture; nullopt when the
// band is too small, which means "show the whole picture".
std::optional<PaneRect> ZoomViewport(ZoomPoint a, ZoomPoint b, const PaneRect& pane, int pictureWidth,
                                     int pictureHeight);

// The viewport that shows the whole picture.
inline PaneRect WholePicture(int pictureWidth, int pictureHeight)
{
    return PaneRect{0, 0, pictureWidth, pictureHeight};
}
