#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "emulator/media/MediaTestSupport.h"
#include "media/CameraFeeds.h"
#include "media/FeedPicture.h"
#include "media/YuvCanvas.h"

namespace {

using emulator::media::CameraFeeds;
using emulator::media::CameraSpec;
using emulator::media::FeedSetup;
using emulator::media::MediaLoop;

// A one-second loop of one camera keeps the encoding in the test short.
FeedSetup OneCamera(int bitRate)
{
    FeedSetup setup;
    setup.loopSeconds = 1;
    setup.bitRate = bitRate;
    setup.cameras = {CameraSpec{9, "Yard", false, -1}};
    return setup;
}

TEST(CameraBitRate, AskedRatesAreReachedAndEachKeepsItsOwnLoops)
{
    TempDir folder;
    std::vector<std::vector<uint8_t>> streams;
    // The default's own ceiling asked for explicitly must not reuse the
    // default's loop, which stays well below it.
    for (const int rate : {0, 1500000, 4000000, 0}) {
        SCOPED_TRACE(std::to_string(rate) + " bit/s");
        std::string error;
        const auto feeds = CameraFeeds::Create(folder.path(), OneCamera(rate), &error);
        ASSERT_TRUE(feeds) << error;
        const auto loop = feeds->Video(9);
        ASSERT_TRUE(loop);
        streams.push_back(mediatest::Elementary(*loop));
        if (rate == 0)
            continue;
        EXPECT_NEAR(mediatest::BitsPerSecond(*loop) / rate, 1.0, 0.15);
        // Still pictures a client decodes, whole though some span several packets.
        std::string decodeError;
        EXPECT_EQ(mediatest::DecodeVideo(*loop, 25, &decodeError).size(), 25u) << decodeError;
    }
    EXPECT_EQ(mediatest::SortedFiles(folder.path()).size(), 3u);
    EXPECT_EQ(streams[3], streams[0]) << "the default comes back from its cache";
    EXPECT_GT(streams[1].size(), streams[0].size() * 5 / 4);
}

// Demo screenshots, tests and every cache out there hold the default pictures.
TEST(CameraBitRate, DefaultPicturesKeepTheirCacheKey)
{
    emulator::media::FeedPicture picture;
    picture.stream = 2;
    picture.cameras = {{2, "Camera 3", {}, -1}};
    emulator::media::VideoLoopSettings settings;
    EXPECT_EQ(picture.CacheKey(settings),
              "emulator video v3 704x576 25fps 4s 1500000bps h264-baseline-gop1s stream 2 | "
              "camera 2 half -1 view P+0 T+0 Z0 name[8]=Camera 3");
    settings.reachBitRate = true;
    EXPECT_NE(picture.CacheKey(settings).find(" reach-rate grain "), std::string::npos);
}

TEST(CameraBitRate, RatesOutOfRangeAndLoopsTooLargeToKeepAreRefused)
{
    TempDir folder;
    FeedSetup setup = OneCamera(0);
    for (const auto& [rate, seconds] : std::vector<std::pair<int, int>>{
             {99999, 1}, {20000001, 1}, {-1500000, 1}, {20000000, 60}, {8000000, 60}}) {
        SCOPED_TRACE(std::to_string(rate) + " bit/s for " + std::to_string(seconds) + " s");
        setup.bitRate = rate;
        setup.loopSeconds = seconds;
        std::string error;
        EXPECT_FALSE(CameraFeeds::Create(folder.path(), setup, &error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(mediatest::SortedFiles(folder.path()).empty()) << "nothing was encoded";
}

TEST(CameraBitRate, GrainStaysInsideTheClipAndTheVideoRange)
{
    constexpr int kWidth = 32, kHeight = 16;
    auto grained = [&](uint8_t level, int amplitude, uint64_t seed) {
        std::vector<uint8_t> planes(kWidth * kHeight * 3 / 2, level);
        emulator::media::YuvCanvas canvas(planes.data(), kWidth, planes.data() + kWidth * kHeight,
                                          planes.data() + kWidth * kHeight * 5 / 4, kWidth / 2, kWidth, kHeight);
        canvas.SetClip({3, 5, 20, 13});
        canvas.AddGrain(amplitude, seed);
        return planes;
    };
    for (const uint8_t level : {uint8_t{16}, uint8_t{128}, uint8_t{235}}) {
        const auto planes = grained(level, 6, 7);
        int changed = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const int sample = planes[static_cast<size_t>(y * kWidth + x)];
                const bool inside = x >= 3 && x < 20 && y >= 5 && y < 13;
                if (!inside) {
                    EXPECT_EQ(sample, level) << x << "," << y;
                }
                EXPECT_LE(std::abs(sample - level), 6);
                EXPECT_GE(sample, 16);
                EXPECT_LE(sample, 235);
                changed += sample != level;
            }
        }
        EXPECT_GT(changed, 17 * 8 / 3) << "at the ends of the range half the noise is clipped";
        // Chroma outside the clip's blocks is untouched.
        const size_t u = kWidth * kHeight;
        EXPECT_EQ(planes[u + 0], level);
        EXPECT_EQ(planes[u + 1 * (kWidth / 2) + 1], level);
        EXPECT_EQ(planes[u + 3 * (kWidth / 2) + 10], level);
    }
    EXPECT_EQ(grained(128, 6, 7), grained(128, 6, 7));
    EXPECT_NE(grained(128, 6, 7), grained(128, 6, 8));
    EXPECT_EQ(grained(128, 0, 7), std::vector<uint8_t>(kWidth * kHeight * 3 / 2, 128));
}

}  // namespace
