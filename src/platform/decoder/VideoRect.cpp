#include "platform/decoder/VideoRect.h"

#include <algorithm>

bool IsHiddenPane(const VideoRect& pane)
{
    return pane.Width() <= 1 || pane.Height() <= 1;
}

VideoRect ClipViewport(const VideoRect& viewport, int width, int height)
{
    VideoRect clipped{std::clamp(viewport.left, 0, width), std::clamp(viewport.top, 0, height),
                      std::clamp(viewport.right, 0, width), std::clamp(viewport.bottom, 0, height)};
    if (clipped.Width() <= 0 || clipped.Height() <= 0)
        return VideoRect{0, 0, width, height};
    return clipped;
}
