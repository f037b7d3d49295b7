#pragma once

// The printed size of a picture placed with room `roomWidth` x `roomHeight`
// left on the page: its own size when it fits, else scaled down to fit with
// its aspect kept (never below one pixel). No room gives 0 x 0.
struct PrintSize {
    int width = 0;
    int height = 0;
    bool operator==(const PrintSize&) const = default;
};

PrintSize FitPictureOnPage(int width, int height, int roomWidth, int roomHeight);
