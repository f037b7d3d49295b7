#include "platform/decoder/PictureScaler.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

// A 704 x 576 picture of smooth diagonal ramps in every plane, so a resized
// picture can be compared pixel by pixel with a careful one-pass conversion.
FramePtr RampPicture(AVPixelFormat format, AVColorRange range)
{
    FramePtr frame(av_frame_alloc());
    frame->format = format;
    frame->width = 704;
    frame->height = 576;
    frame->color_range = range;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return nullptr;
    for (int y = 0; y < 576; ++y)
        for (int x = 0; x < 704; ++x)
            frame->data[0][y * frame->linesize[0] + x] = static_cast<std::uint8_t>(30 + (x + y) * 190 / 1280);
    for (int y = 0; y < 288; ++y) {
        for (int x = 0; x < 352; ++x) {
            frame->data[1][y * frame->linesize[1] + x] = static_cast<std::uint8_t>(70 + x * 110 / 352);
            frame->data[2][y * frame->linesize[2] + x] = static_cast<std::uint8_t>(180 - y * 110 / 288);
        }
    }
    return frame;
}

// The same crop and size in one careful pass, as BGRA rows without padding.
std::vector<std::uint8_t> Reference(const AVFrame* frame, const VideoRect& crop, int width, int height, bool fullRange)
{
    const AVPixelFormat format = frame->format == AV_PIX_FMT_YUVJ420P ? AV_PIX_FMT_YUV420P : AVPixelFormat(frame->format);
    SwsContext* context = sws_getContext(crop.Width(), crop.Height(), format, width, height,
                                         AV_PIX_FMT_BGRA, SWS_BILINEAR | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT,
                                         nullptr, nullptr, nullptr);
    const int* coefficients = sws_getCoefficients(SWS_CS_DEFAULT);
    sws_setColorspaceDetails(context, coefficients, fullRange ? 1 : 0, coefficients, 1, 0, 1 << 16, 1 << 16);
    const std::uint8_t* source[4] = {
        frame->data[0] + crop.top * frame->linesize[0] + crop.left,
        frame->data[1] + crop.top / 2 * frame->linesize[1] + crop.left / 2,
        frame->data[2] + crop.top / 2 * frame->linesize[2] + crop.left / 2,
        nullptr,
    };
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
    std::uint8_t* destination[4] = {pixels.data(), nullptr, nullptr, nullptr};
    const int stride[4] = {width * 4, 0, 0, 0};
    sws_scale(context, source, frame->linesize, 0, crop.Height(), destination, stride);
    sws_freeContext(context);
    return pixels;
}

// Largest and mean difference of any colour channel over the picture.
struct Difference {
    int largest = 0;
    double mean = 0;
};

Difference Compare(const ScaledPicture& picture, const std::vector<std::uint8_t>& reference, int width, int height)
{
    Difference difference;
    long total = 0;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = picture.image.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(row[x * 4 + c] - reference[(static_cast<std::size_t>(y) * width + x) * 4 + c]);
                difference.largest = std::max(difference.largest, d);
                total += d;
            }
        }
    }
    difference.mean = static_cast<double>(total) / (3.0 * width * height);
    return difference;
}

} // namespace

TEST(PictureScaler, EveryPaneSizeMatchesACarefulOnePassConversion)
{
    // Sixteen, nine (odd sizes) and four panes, one pane enlarged, and a
    // zoomed crop, in limited and full range: edges included, no column or
    // row may come out wrong.
    struct Case {
        int width;
        int height;
        VideoRect viewport;
        AVPixelFormat format;
        AVColorRange range;
    };
    const VideoRect whole{};
    const Case cases[] = {
        {200, 150, whole, AV_PIX_FMT_YUV420P, AVCOL_RANGE_MPEG},
        {267, 201, whole, AV_PIX_FMT_YUV420P, AVCOL_RANGE_MPEG},
        {400, 300, whole, AV_PIX_FMT_YUV420P, AVCOL_RANGE_MPEG},
        {800, 600, whole, AV_PIX_FMT_YUV420P, AVCOL_RANGE_MPEG},
        {200, 150, VideoRect{100, 80, 452, 368}, AV_PIX_FMT_YUV420P, AVCOL_RANGE_MPEG},
        {200, 150, whole, AV_PIX_FMT_YUVJ420P, AVCOL_RANGE_JPEG},
    };
    PictureScaler scaler;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " format " << c.format);
        FramePtr frame = RampPicture(c.format, c.range);
        ASSERT_TRUE(frame);
        const bool fullRange = c.range == AVCOL_RANGE_JPEG;
        const VideoRect crop = c.viewport.Width() > 0 ? c.viewport : VideoRect{0, 0, 704, 576};
        for (int repeat = 0; repeat < 2; ++repeat) {
            const auto picture = scaler.Scale(frame.get(), c.viewport, c.width, c.height, 7);
            ASSERT_TRUE(picture);
            EXPECT_EQ(picture->image.width(), c.width);
            EXPECT_EQ(picture->image.height(), c.height);
            EXPECT_EQ(picture->geometry, 7u);
            const Difference difference =
                Compare(*picture, Reference(frame.get(), crop, c.width, c.height, fullRange), c.width, c.height);
            EXPECT_LE(difference.largest, 10);
            EXPECT_LE(difference.mean, 2.0);
        }
    }
}

TEST(PictureScaler, UnusableInputGivesNoPicture)
{
    PictureScaler scaler;
    FramePtr frame = RampPicture(AV_PIX_FMT_YUV420P, AVCOL_RANGE_MPEG);
    EXPECT_FALSE(scaler.Scale(nullptr, VideoRect{}, 200, 150, 0));
    EXPECT_FALSE(scaler.Scale(frame.get(), VideoRect{}, 0, 150, 0));
    frame->format = AV_PIX_FMT_NONE;
    EXPECT_FALSE(scaler.Scale(frame.get(), VideoRect{}, 200, 150, 0));
}
