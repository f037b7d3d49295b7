#pragma once

// A pane in video-window client pixels: left, top, right, bottom (right and
// bottom exclusive). (0,0,1,1) is the hidden pane.
struct PaneRect {
    int left = 0;
    int top = 0;
    int right = 1;
    int bottom = 1;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsHidden() const { return left == 0 && top == 0 && right == 1 && bottom == 1; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const PaneRect&) const = default;
};

inline constexpr PaneRect kHiddenPane{0, 0, 1, 1};
