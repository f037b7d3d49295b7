#include "core/video/PrintFit.h"

#include <algorithm>

PrintSize FitPictureOnPage(int width, int height, int roomWidth, int roomHeight)
{
    if (width <= 0 || height <= 0 || roomWidth <= 0 || roomHeight <= 0)
        return {};
    if (width <= roomWidth && height <= roomHeight)
        return {width, height};
    // Scale by the tighter side; the other follows, rounded down so it fits.
    const double scale = std::min(double(roomWidth) / width, double(roomHeight) / height);
    return {std::clamp(int(width * scale), 1, roomWidth), std::clamp(int(height * scale), 1, roomHeight)};
}
