#include "YuvCanvas.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include "BitmapFont.h"

namespace emulator::media {
namespace {

// Uniform noise of up to +-limit added to rows of samples, kept within
// low..high. splitmix64 gives eight samples' noise a step.
class GrainNoise {
public:
    GrainNoise(uint64_t seed, int limit) : state_(seed)
    {
        const auto levels = static_cast<unsigned>(2 * limit + 1);
        for (unsigned byte = 0; byte < offsets_.size(); ++byte)
            offsets_[byte] = static_cast<int16_t>(static_cast<int>((byte * levels) >> 8) - limit);
    }

    void AddTo(uint8_t* row, int count, int low, int high)
    {
        for (int x = 0; x < count;) {
            uint64_t bits = Next();
            for (const int end = std::min(x + 8, count); x < end; ++x, bits >>= 8) {
                const int value = row[x] + offsets_[bits & 0xFF];
                row[x] = static_cast<uint8_t>(value < low ? low : value > high ? high : value);
            }
        }
    }

private:
    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    uint64_t state_;
    std::array<int16_t, 256> offsets_;
};

}  // namespace

YuvColor FromRgb(int r, int g, int b)
{
    auto clamp = [](int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); };
    return YuvColor{clamp(16 + ((66 * r + 129 * g + 25 * b + 128) >> 8)),
                    clamp(128 + ((-38 * r - 74 * g + 112 * b + 128) >> 8)),
                    clamp(128 + ((112 * r - 94 * g - 18 * b + 128) >> 8))};
}

YuvCanvas::YuvCanvas(uint8_t* y, int yStride, uint8_t* u, uint8_t* v, int chromaStride, int width, int height)
    : y_(y), yStride_(yStride), u_(u), v_(v), chromaStride_(chromaStride), width_(width), height_(height),
      clip_{0, 0, width, height}
{
}

void YuvCanvas::SetClip(const ClipRect& clip)
{
    clip_.left = std::clamp(clip.left, 0, width_);
    clip_.top = std::clamp(clip.top, 0, height_);
    clip_.right = std::clamp(clip.right, clip_.left, width_);
    clip_.bottom = std::clamp(clip.bottom, clip_.top, height_);
}

// Chroma of a 2 x 2 block follows its top-left pixel, which keeps edges
// crisp enough for text without averaging.
void YuvCanvas::FillSpan(int x0, int x1, int y, YuvColor color)
{
    x0 = std::max(x0, clip_.left);
    x1 = std::min(x1, clip_.right);
    if (y < clip_.top || y >= clip_.bottom || x0 >= x1)
        return;
    std::memset(y_ + static_cast<std::ptrdiff_t>(y) * yStride_ + x0, color.y, static_cast<size_t>(x1 - x0));
    if (y % 2 != 0)
        return;
    const int c0 = (x0 + 1) / 2;
    const int c1 = (x1 + 1) / 2;
    if (c1 > c0) {
        const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(y / 2) * chromaStride_;
        std::memset(u_ + row + c0, color.u, static_cast<size_t>(c1 - c0));
        std::memset(v_ + row + c0, color.v, static_cast<size_t>(c1 - c0));
    }
}

void YuvCanvas::FillRect(int x, int y, int w, int h, YuvColor color)
{
    const int top = std::max(y, clip_.top);
    const int bottom = std::min(y + h, clip_.bottom);
    for (int row = top; row < bottom; ++row)
        FillSpan(x, x + w, row, color);
}

void YuvCanvas::FillDisc(int cx, int cy, int radius, YuvColor color)
{
    for (int dy = -radius; dy <= radius; ++dy) {
        int dx = 0;
        while ((dx + 1) * (dx + 1) + dy * dy <= radius * radius)
            ++dx;
        FillSpan(cx - dx, cx + dx + 1, cy + dy, color);
    }
}

int YuvCanvas::TextWidth(int scale, const std::string& text)
{
    return static_cast<int>(text.size()) * kGlyphWidth * scale;
}

void YuvCanvas::DrawText(int x, int y, int scale, const std::string& text, YuvColor color)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t* rows = GlyphRows(text[i]);
        const int left = x + static_cast<int>(i) * kGlyphWidth * scale;
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int col = 0; col < kGlyphWidth; ++col) {
                if ((rows[row] & (0x80 >> col)) == 0)
                    continue;
                for (int sy = 0; sy < scale; ++sy)
                    FillSpan(left + col * scale, left + (col + 1) * scale, y + row * scale + sy, color);
            }
        }
    }
}

void YuvCanvas::CopyFrom(const YuvCanvas& other)
{
    for (int row = 0; row < height_; ++row)
        std::memcpy(y_ + static_cast<std::ptrdiff_t>(row) * yStride_, other.y_ + static_cast<std::ptrdiff_t>(row) * other.yStride_,
                    static_cast<size_t>(width_));
    for (int row = 0; row < (height_ + 1) / 2; ++row) {
        const size_t bytes = static_cast<size_t>((width_ + 1) / 2);
        std::memcpy(u_ + static_cast<std::ptrdiff_t>(row) * chromaStride_,
                    other.u_ + static_cast<std::ptrdiff_t>(row) * other.chromaStride_, bytes);
        std::memcpy(v_ + static_cast<std::ptrdiff_t>(row) * chromaStride_,
                    other.v_ + static_cast<std::ptrdiff_t>(row) * other.chromaStride_, bytes);
    }
}

namespace {

// The sample a shift brings to `at` from within [low, high): mirrored at the
// edges, so no edge sample is smeared into streaks.
int ShiftedFrom(int at, int shift, int low, int high)
{
    int from = at - shift;
    if (from < low)
        from = 2 * low - from - 1;
    else if (from >= high)
        from = 2 * high - from - 1;
    return std::clamp(from, low, high - 1);
}

// One row of a plane from a source row moved by dx within [left, right).
void ShiftRow(uint8_t* to, const uint8_t* from, int left, int right, int dx)
{
    for (int x = left; x < right; ++x)
        to[x] = from[ShiftedFrom(x, dx, left, right)];
}

}  // namespace

void YuvCanvas::CopyShiftedFrom(const YuvCanvas& other, int dx, int dy)
{
    if (clip_.left >= clip_.right || clip_.top >= clip_.bottom)
        return;
    dx = dx / 2 * 2;
    dy = dy / 2 * 2;
    for (int y = clip_.top; y < clip_.bottom; ++y) {
        const int from = ShiftedFrom(y, dy, clip_.top, clip_.bottom);
        ShiftRow(y_ + static_cast<std::ptrdiff_t>(y) * yStride_, other.y_ + static_cast<std::ptrdiff_t>(from) * other.yStride_,
                 clip_.left, clip_.right, dx);
    }
    // As in FillSpan, a chroma sample belongs to its block's top-left pixel.
    const int c0 = (clip_.left + 1) / 2;
    const int c1 = (clip_.right + 1) / 2;
    const int top = (clip_.top + 1) / 2;
    const int bottom = (clip_.bottom + 1) / 2;
    if (c0 >= c1 || top >= bottom)
        return;
    for (int y = top; y < bottom; ++y) {
        const std::ptrdiff_t to = static_cast<std::ptrdiff_t>(y) * chromaStride_;
        const std::ptrdiff_t from = static_cast<std::ptrdiff_t>(ShiftedFrom(y, dy / 2, top, bottom)) * other.chromaStride_;
        ShiftRow(u_ + to, other.u_ + from, c0, c1, dx / 2);
        ShiftRow(v_ + to, other.v_ + from, c0, c1, dx / 2);
    }
}

void YuvCanvas::AddGrain(int amplitude, uint64_t seed)
{
    if (amplitude <= 0)
        return;
    amplitude = std::min(amplitude, 255);  // wider noise only clips
    // Limited range, as the encoder is told: luma 16..235, chroma 16..240.
    GrainNoise luma(seed, amplitude);
    for (int y = clip_.top; y < clip_.bottom; ++y)
        luma.AddTo(y_ + static_cast<std::ptrdiff_t>(y) * yStride_ + clip_.left, clip_.right - clip_.left, 16, 235);
    if (amplitude / 2 == 0)
        return;
    GrainNoise chroma(~seed, amplitude / 2);
    // Like FillSpan: a chroma sample belongs to its block's top-left pixel.
    const int c0 = (clip_.left + 1) / 2;
    const int c1 = (clip_.right + 1) / 2;
    for (int y = (clip_.top + 1) / 2; y < (clip_.bottom + 1) / 2; ++y) {
        const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(y) * chromaStride_ + c0;
        chroma.AddTo(u_ + row, c1 - c0, 16, 240);
        chroma.AddTo(v_ + row, c1 - c0, 16, 240);
    }
}

}  // namespace emulator::media
