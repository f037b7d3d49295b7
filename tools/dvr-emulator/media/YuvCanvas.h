#pragma once

#include <cstdint>
#include <string>

namespace emulator::media {

struct YuvColor {
    uint8_t y = 16;
    uint8_t u = 128;
    uint8_t v = 128;
};

// Limited-range BT.601, as the encoder is told.
YuvColor FromRgb(int r, int g, int b);

struct ClipRect {
    int left = 0;
    int top = 0;
    int right = 0;   // exclusive
    int bottom = 0;  // exclusive
};

// Draws into caller-owned 4:2:0 planes (an encoder frame). Everything is
// clipped to the clip rectangle, which never exceeds the planes.
class YuvCanvas {
public:
    YuvCanvas(uint8_t* y, int yStride, uint8_t* u, uint8_t* v, int chromaStride, int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetClip(const ClipRect& clip);
    const ClipRect& Clip() const { return clip_; }

    void FillRect(int x, int y, int w, int h, YuvColor color);
    void FillDisc(int cx, int cy, int radius, YuvColor color);
    // Text in the built-in font, each font pixel scale x scale.
    void DrawText(int x, int y, int scale, const std::string& text, YuvColor color);
    static int TextWidth(int scale, const std::string& text);
    // Copies all of another canvas of the same size.
    void CopyFrom(const YuvCanvas& other);
    // Fills the clip rectangle from the same rectangle of another canvas of
    // the same size moved by (dx, dy), both rounded down to even so chroma
    // moves with luma; what would come from outside the rectangle is the
    // rectangle mirrored at its edge.
    void CopyShiftedFrom(const YuvCanvas& other, int dx, int dy);
    // Adds noise of up to +-amplitude to each luma sample in the clip
    // rectangle (half that to chroma); the same seed gives the same noise.
    void AddGrain(int amplitude, uint64_t seed);

private:
    void FillSpan(int x0, int x1, int y, YuvColor color);

    uint8_t* y_;
    int yStride_;
    uint8_t* u_;
    uint8_t* v_;
    int chromaStride_;
    int width_;
    int height_;
    ClipRect clip_;
};

}  // namespace emulator::media
