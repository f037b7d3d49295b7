#include "core/video/ZoomMath.h"

#include <algorithm>

std::optional<PaneRect> ZoomViewport(ZoomPoint a, ZoomPoint b, const PaneRect& pane, int pictureWidth,
                                     int pictureHeight)
{
    const int x0 = std::min(a.x, b.x) - pane.left;
    const int y0 = std::min(a.y, b.y) - pane.top;
    const int x1 = std::max(a.x, b.x) - pane.left;
    const int y1 = std::max(a.y, b.y) - pane.top;
    if (x1 - x0 < kMinZoomBand || y1 - y0 < kMinZoomBand)
        return std::nullopt;
    // A degenerate pane has nothing to map from.
    if (pane.Width() <= 0 || pane.Height() <= 0)
        return std::nullopt;
    const double sx = static_cast<double>(pictureWidth) / pane.Width();
    const double sy = static_cast<double>(pictureHeight) / pane.Height();
    return PaneRect{static_cast<int>(sx * x0), static_cast<int>(sy * y0), static_cast<int>(sx * x1),
                    static_cast<int>(sy * y1)};
}
