#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "emulator/media/MediaTestSupport.h"
#include "media/CameraFeeds.h"
#include "media/FeedPicture.h"
#include "media/YuvCanvas.h"

namespace {

using emulator::media::CameraContent;
using emulator::media::CameraFeeds;
using emulator::media::CameraSpec;
using emulator::media::FeedSetup;
using emulator::media::MediaLoop;

constexpr int kWidth = 704;
constexpr int kHeight = 576;

FeedSetup OneCamera(CameraContent content, int bitRate)
{
    FeedSetup setup;
    setup.loopSeconds = 1;
    setup.bitRate = bitRate;
    setup.content = content;
    setup.cameras = {CameraSpec{9, "Yard", false, -1}};
    return setup;
}

// The first NAL unit of a type in an Annex B stream, from its header byte on.
std::vector<uint8_t> FirstNal(const std::vector<uint8_t>& annexB, int type)
{
    for (size_t i = 0; i + 3 < annexB.size(); ++i) {
        if (annexB[i] == 0 && annexB[i + 1] == 0 && annexB[i + 2] == 1 && (annexB[i + 3] & 0x1F) == type) {
            size_t end = i + 3;
            while (end + 2 < annexB.size() && !(annexB[end] == 0 && annexB[end + 1] == 0))
                ++end;
            return std::vector<uint8_t>(annexB.begin() + static_cast<std::ptrdiff_t>(i) + 3,
                                        annexB.begin() + static_cast<std::ptrdiff_t>(end));
        }
    }
    return {};
}

// Mean absolute luma difference of two pictures over a rectangle.
double LumaDifference(const mediatest::Picture& a, const mediatest::Picture& b, int left, int top, int right,
                      int bottom)
{
    double sum = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            sum += std::abs(a.y[static_cast<size_t>(y * a.width + x)] - b.y[static_cast<size_t>(y * b.width + x)]);
    return sum / ((right - left) * (bottom - top));
}

// Demo screenshots, tests and every cache out there hold the plain pictures.
TEST(CameraContent, PlainKeysStayAsTheyWereAndHardKeysNameTheContent)
{
    emulator::media::FeedPicture picture;
    picture.stream = 2;
    picture.cameras = {{2, "Camera 3", {}, -1}};
    emulator::media::VideoLoopSettings settings;
    settings.content = CameraContent::Plain;
    settings.bitRate = 4000000;
    settings.reachBitRate = true;
    EXPECT_EQ(picture.CacheKey(settings),
              "emulator video v3 704x576 25fps 4s 4000000bps h264-baseline-gop1s reach-rate grain 13 stream 2 | "
              "camera 2 half -1 view P+0 T+0 Z0 name[8]=Camera 3");
    settings.content = CameraContent::Hard;
    const std::string hard = picture.CacheKey(settings);
    EXPECT_NE(hard.find(" h264-main-medium-gop1s "), std::string::npos) << hard;
    EXPECT_NE(hard.find(" content hard "), std::string::npos) << hard;
}

TEST(CameraContent, HardLoopsReachTheirRateCodedAsCamerasCodeThemAndKeepTheirCache)
{
    TempDir folder;
    std::string error;
    const auto plain = CameraFeeds::Create(folder.path(), OneCamera(CameraContent::Plain, 1500000), &error);
    ASSERT_TRUE(plain) << error;
    std::vector<uint8_t> hardStream;
    // No rate asked: hard content still reaches the rate of a camera's stream.
    for (const int rate : {0, 4000000}) {
        SCOPED_TRACE(std::to_string(rate) + " bit/s");
        const auto hard = CameraFeeds::Create(folder.path(), OneCamera(CameraContent::Hard, rate), &error);
        ASSERT_TRUE(hard) << error;
        const auto loop = hard->Video(9);
        EXPECT_NEAR(mediatest::BitsPerSecond(*loop) / (rate ? rate : 1500000), 1.0, 0.15);
        const auto stream = mediatest::Elementary(*loop);
        const auto sps = FirstNal(stream, 7);
        const auto pps = FirstNal(stream, 8);
        ASSERT_GE(sps.size(), 2u);
        ASSERT_GE(pps.size(), 2u);
        EXPECT_EQ(sps[1], 77) << "main profile";
        // pic_parameter_set_id and seq_parameter_set_id 0 take a bit each; the next is CABAC.
        EXPECT_EQ(pps[1] & 0xE0, 0xE0) << "CABAC";
        if (rate == 0)
            hardStream = stream;
    }
    EXPECT_EQ(mediatest::SortedFiles(folder.path()).size(), 3u) << "plain and hard keep loops of their own";
    const auto again = CameraFeeds::Create(folder.path(), OneCamera(CameraContent::Hard, 1500000), &error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(mediatest::Elementary(*again->Video(9)), hardStream) << "1.5 Mb/s is the hard content's own rate";
    EXPECT_EQ(mediatest::SortedFiles(folder.path()).size(), 3u);

    // The camera's number, name and the loop clock are burned in where the
    // plain pictures have them, though all around them moves and crawls.
    const auto plainPictures = mediatest::DecodeVideo(*plain->Video(9), 25, &error);
    const auto hardPictures = mediatest::DecodeVideo(*again->Video(9), 25, &error);
    ASSERT_EQ(plainPictures.size(), 25u) << error;
    ASSERT_EQ(hardPictures.size(), 25u) << error;
    for (const size_t frame : {size_t{0}, size_t{13}}) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        const auto& p = plainPictures[frame];
        const auto& h = hardPictures[frame];
        EXPECT_LT(LumaDifference(p, h, 16, kHeight - 178, 16 + 4 * 8 * 4, kHeight - 178 + 64), 8) << "CH10";
        EXPECT_LT(LumaDifference(p, h, 16, kHeight - 100, 16 + 2 * 8 * 4, kHeight - 100 + 32), 8) << "Yard";
        EXPECT_LT(LumaDifference(p, h, 16, kHeight - 56, 16 + 2 * 8 * 12, kHeight - 56 + 32), 8) << "LOOP 0:00.52";
    }
    // The labels above differ by 5 or less.
    EXPECT_GT(LumaDifference(plainPictures[13], hardPictures[13], 0, 0, kWidth, kHeight / 2), 10) << "not the plain scene";
    EXPECT_GT(LumaDifference(hardPictures[0], hardPictures[13], 0, 0, kWidth, kHeight / 2), 10) << "the scene moves";
}

TEST(CameraContent, ShiftedCopyMovesTheClipMirroredAtItsEdgesAndNothingElse)
{
    constexpr int kCanvasWidth = 16, kCanvasHeight = 8;
    const auto planesOf = [](int seed) {
        std::vector<uint8_t> planes(kCanvasWidth * kCanvasHeight * 3 / 2);
        for (size_t i = 0; i < planes.size(); ++i)
            planes[i] = static_cast<uint8_t>(i * 7 + seed);
        return planes;
    };
    auto sourcePlanes = planesOf(1);
    auto planes = planesOf(100);
    const auto untouched = planes;
    const auto canvasOf = [](std::vector<uint8_t>& p) {
        return emulator::media::YuvCanvas(p.data(), kCanvasWidth, p.data() + kCanvasWidth * kCanvasHeight,
                                          p.data() + kCanvasWidth * kCanvasHeight * 5 / 4, kCanvasWidth / 2,
                                          kCanvasWidth, kCanvasHeight);
    };
    auto source = canvasOf(sourcePlanes);
    auto canvas = canvasOf(planes);
    canvas.SetClip({2, 2, 12, 8});
    canvas.CopyShiftedFrom(source, 3, -2);  // odd moves round down to even: (2, -2)
    const auto luma = [](const std::vector<uint8_t>& p, int x, int y) { return p[static_cast<size_t>(y * kCanvasWidth + x)]; };
    for (int y = 0; y < kCanvasHeight; ++y) {
        for (int x = 0; x < kCanvasWidth; ++x) {
            SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
            if (x < 2 || x >= 12 || y < 2) {
                EXPECT_EQ(luma(planes, x, y), luma(untouched, x, y));
                continue;
            }
            // From (x - 2, y + 2), mirrored into the clip: columns 2, 3 come from 3, 2; rows 6, 7 from 7, 6.
            const int fromX = x - 2 < 2 ? 3 - (x - 2) : x - 2;
            const int fromY = y + 2 >= 8 ? 2 * 8 - (y + 2) - 1 : y + 2;
            EXPECT_EQ(luma(planes, x, y), luma(sourcePlanes, fromX, fromY));
        }
    }
    // Chroma moves by half: (1, -1) in chroma samples within columns 1..5, rows 1..3.
    const size_t u = kCanvasWidth * kCanvasHeight;
    const auto chroma = [&](const std::vector<uint8_t>& p, int x, int y) { return p[u + static_cast<size_t>(y * kCanvasWidth / 2 + x)]; };
    EXPECT_EQ(chroma(planes, 3, 1), chroma(sourcePlanes, 2, 2));
    EXPECT_EQ(chroma(planes, 1, 3), chroma(sourcePlanes, 1, 3)) << "mirrored at both edges";
    EXPECT_EQ(chroma(planes, 0, 1), chroma(untouched, 0, 1));
    EXPECT_EQ(chroma(planes, 6, 1), chroma(untouched, 6, 1));
    EXPECT_EQ(chroma(planes, 3, 0), chroma(untouched, 3, 0));
}

}  // namespace
