#pragma once

// A rectangle (left, top, right, bottom) in window or picture pixels.
struct VideoRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const VideoRect&) const = default;
};

// A pane of (0,0,1,1), or any pane one pixel wide or less, is hidden.
bool IsHiddenPane(const VideoRect& pane);

// The part of a width x height picture a viewport shows: the viewport clipped
// to the picture, or the whole picture when nothing of it is left.
VideoRect ClipViewport(const VideoRect& viewport, int width, int height);
