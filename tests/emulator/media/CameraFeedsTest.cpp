#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "core/mpeg/PesPacket.h"
#include "emulator/media/MediaTestSupport.h"
#include "media/CameraFeeds.h"

namespace {

using emulator::media::CameraFeeds;
using emulator::media::CameraSpec;
using emulator::media::FeedSetup;
using emulator::media::MediaLoop;


// One-second loops keep encoding in tests short; the emulator uses the default.
FeedSetup SixteenCameras()
{
    FeedSetup setup;
    setup.dvrTypeCode = 3;
    setup.loopSeconds = 1;
    for (int camera = 0; camera < 16; ++camera)
        setup.cameras.push_back(CameraSpec{camera, "Camera " + std::to_string(camera + 1), camera % 4 == 0, -1});
    return setup;
}

FeedSetup PairedCameras()
{
    FeedSetup setup;
    setup.dvrTypeCode = 5;
    setup.twoCameraPictures = true;
    setup.loopSeconds = 1;
    for (int camera = 0; camera < 4; ++camera)
        setup.cameras.push_back(CameraSpec{camera, "Door " + std::to_string(camera + 1), camera == 0, -1});
    return setup;
}

std::unique_ptr<CameraFeeds> Make(const std::string& folder, const FeedSetup& setup)
{
    std::string error;
    auto feeds = CameraFeeds::Create(folder, setup, &error);
    EXPECT_TRUE(feeds) << error;
    return feeds;
}

// Whole PES packets of one stream, in time order, keyframe first and once a
// second, each keyframe carrying its parameter sets.
void ExpectVideoLoop(const MediaLoop& loop, uint8_t streamId)
{
    ASSERT_FALSE(loop.units.empty());
    EXPECT_EQ(loop.durationMs, 1000u);
    EXPECT_TRUE(loop.units.front().keyframe);
    uint32_t last = 0;
    size_t keyframes = 0;
    for (const auto& unit : loop.units) {
        std::string error;
        const auto view = mpeg::ParseMpeg2PesPacket(unit.pes.data(), unit.pes.size(), &error);
        ASSERT_TRUE(view) << error;
        EXPECT_EQ(view->size, unit.pes.size());
        EXPECT_EQ(view->streamId, streamId);
        EXPECT_TRUE(view->hasPts);
        EXPECT_EQ(view->pts, unit.timeMs * 90ull);
        EXPECT_GE(unit.timeMs, last);
        EXPECT_LT(unit.timeMs, loop.durationMs);
        last = unit.timeMs;
        if (unit.keyframe) {
            ++keyframes;
            const auto nals = mediatest::NalTypes(std::vector<uint8_t>(view->payload, view->payload + view->payloadSize));
            EXPECT_NE(std::find(nals.begin(), nals.end(), 7), nals.end()) << "SPS missing";
            EXPECT_NE(std::find(nals.begin(), nals.end(), 5), nals.end()) << "IDR slice missing";
        }
    }
    EXPECT_EQ(keyframes, 1u);
    EXPECT_EQ(loop.units.size(), 25u);
}

TEST(CameraFeeds, SixteenCamerasGiveDistinctDecodablePictures)
{
    TempDir folder;
    const auto feeds = Make(folder.path(), SixteenCameras());
    ASSERT_TRUE(feeds);
    std::set<double> hues;
    for (int camera = 0; camera < 16; ++camera) {
        SCOPED_TRACE(camera);
        const auto video = feeds->Video(camera);
        ASSERT_TRUE(video);
        ExpectVideoLoop(*video, static_cast<uint8_t>(0xE0 + camera));
        std::string error;
        const auto pictures = mediatest::DecodeVideo(*video, 25, &error);
        ASSERT_EQ(pictures.size(), 25u) << error;
        EXPECT_EQ(pictures[0].width, 704);
        EXPECT_EQ(pictures[0].height, 576);
        // The sky's colour tells the cameras apart.
        hues.insert(std::round(pictures[0].Mean(pictures[0].u, 200, 130, 500, 200) / 4) * 1000 +
                    std::round(pictures[0].Mean(pictures[0].v, 200, 130, 500, 200) / 4));
        // Something moves between the first and the last frame.
        EXPECT_GT(std::abs(pictures[0].Mean(pictures[0].y, 0, 0, 704, 576) -
                           pictures[24].Mean(pictures[24].y, 0, 0, 704, 576)) +
                      std::abs(pictures[0].Mean(pictures[0].y, 0, 560, 704, 576) -
                               pictures[24].Mean(pictures[24].y, 0, 560, 704, 576)),
                  0.5);
    }
    EXPECT_GE(hues.size(), 12u);
    EXPECT_FALSE(feeds->Video(16));
    EXPECT_FALSE(feeds->Video(-1));
}

TEST(CameraFeeds, AudioIsAToneInFortyMillisecondUnits)
{
    TempDir folder;
    FeedSetup setup = SixteenCameras();
    setup.cameras = {setup.cameras[0], setup.cameras[1], setup.cameras[4], setup.cameras[8], setup.cameras[12]};
    const auto feeds = Make(folder.path(), setup);
    ASSERT_TRUE(feeds);
    EXPECT_FALSE(feeds->Audio(1));
    for (int camera : {0, 4, 8, 12}) {
        const auto audio = feeds->Audio(camera);
        ASSERT_TRUE(audio);
        EXPECT_EQ(audio->durationMs, 1000u);
        ASSERT_EQ(audio->units.size(), 25u);
        for (size_t i = 0; i < audio->units.size(); ++i) {
            const auto& unit = audio->units[i];
            std::string error;
            const auto view = mpeg::ParseMpeg2PesPacket(unit.pes.data(), unit.pes.size(), &error);
            ASSERT_TRUE(view) << error;
            EXPECT_EQ(view->streamId, 0xC0 + camera);
            EXPECT_EQ(view->payloadSize, 320u);
            EXPECT_EQ(unit.timeMs, i * 40);
            EXPECT_EQ(view->pts, i * 3600);
            EXPECT_TRUE(unit.keyframe);
        }
    }
}

TEST(CameraFeeds, PairedModelsShowTwoCamerasInOnePicture)
{
    TempDir folder;
    const auto feeds = Make(folder.path(), PairedCameras());
    ASSERT_TRUE(feeds);
    EXPECT_EQ(feeds->Video(0), feeds->Video(1));
    EXPECT_EQ(feeds->Video(2), feeds->Video(3));
    EXPECT_NE(feeds->Video(0), feeds->Video(2));
    ExpectVideoLoop(*feeds->Video(0), 0xE0);
    ExpectVideoLoop(*feeds->Video(2), 0xE1);
    EXPECT_FALSE(feeds->Video(4));
    EXPECT_TRUE(feeds->Audio(0));
    EXPECT_FALSE(feeds->Audio(1));

    std::string error;
    const auto pictures = mediatest::DecodeVideo(*feeds->Video(2), 1, &error);
    ASSERT_EQ(pictures.size(), 1u) << error;
    const auto& picture = pictures[0];
    EXPECT_EQ(picture.width, 704);
    EXPECT_EQ(picture.height, 576);
    // Each half has its own camera's sky; a dark bar parts them.
    const double leftU = picture.Mean(picture.u, 60, 130, 300, 200);
    const double rightU = picture.Mean(picture.u, 412, 130, 650, 200);
    const double leftV = picture.Mean(picture.v, 60, 130, 300, 200);
    const double rightV = picture.Mean(picture.v, 412, 130, 650, 200);
    EXPECT_GT(std::abs(leftU - rightU) + std::abs(leftV - rightV), 6);
    EXPECT_LT(picture.Mean(picture.y, 350, 200, 354, 400), 40);

    // A pair with one camera: that picture alone, on the pair's first stream.
    FeedSetup one = PairedCameras();
    one.cameras = {CameraSpec{1, "Only", false, -1}};
    const auto single = Make(folder.path(), one);
    ASSERT_TRUE(single);
    EXPECT_FALSE(single->Video(0));
    ASSERT_TRUE(single->Video(1));
    ExpectVideoLoop(*single->Video(1), 0xE0);
}

TEST(CameraFeeds, WarmCacheIsReusedAndDamagedFilesAreMadeAgain)
{
    TempDir folder;
    FeedSetup setup = SixteenCameras();
    setup.cameras.resize(3);
    std::vector<std::vector<uint8_t>> first;
    {
        const auto feeds = Make(folder.path(), setup);
        ASSERT_TRUE(feeds);
        for (int camera = 0; camera < 3; ++camera)
            first.push_back(mediatest::Elementary(*feeds->Video(camera)));
    }
    const auto files = mediatest::SortedFiles(folder.path());
    ASSERT_EQ(files.size(), 3u);
    std::vector<std::filesystem::file_time_type> times;
    for (const auto& file : files)
        times.push_back(std::filesystem::last_write_time(file));

    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    {
        const auto feeds = Make(folder.path(), setup);
        ASSERT_TRUE(feeds);
        for (int camera = 0; camera < 3; ++camera)
            EXPECT_EQ(mediatest::Elementary(*feeds->Video(camera)), first[static_cast<size_t>(camera)]);
    }
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(std::filesystem::last_write_time(files[i]), times[i]) << "warm start rewrote " << files[i];

    // One file gets a flipped byte in the middle, one is cut short.
    {
        std::fstream damaged(files[0], std::ios::in | std::ios::out | std::ios::binary);
        damaged.seekg(static_cast<std::streamoff>(std::filesystem::file_size(files[0]) / 2));
        char byte = 0;
        damaged.read(&byte, 1);
        damaged.seekp(static_cast<std::streamoff>(std::filesystem::file_size(files[0]) / 2));
        byte = static_cast<char>(byte ^ 0x40);
        damaged.write(&byte, 1);
    }
    std::filesystem::resize_file(files[1], 100);
    {
        const auto feeds = Make(folder.path(), setup);
        ASSERT_TRUE(feeds);
        for (int camera = 0; camera < 3; ++camera) {
            ASSERT_TRUE(feeds->Video(camera));
            ExpectVideoLoop(*feeds->Video(camera), static_cast<uint8_t>(0xE0 + camera));
        }
    }
    EXPECT_NE(std::filesystem::last_write_time(files[0]), times[0]);
    EXPECT_GT(std::filesystem::file_size(files[1]), 1000u);
    EXPECT_EQ(std::filesystem::last_write_time(files[2]), times[2]);
    EXPECT_EQ(mediatest::SortedFiles(folder.path()), files) << "no temporary files are left behind";

    // A renamed camera gets a loop of its own.
    setup.cameras[0].name = "Renamed";
    ASSERT_TRUE(Make(folder.path(), setup));
    EXPECT_EQ(mediatest::SortedFiles(folder.path()).size(), 4u);
}

TEST(CameraFeeds, RefusesBadSetupsWithAReason)
{
    TempDir folder;
    auto refused = [&](const std::string& cacheDir, const FeedSetup& setup) {
        std::string error;
        EXPECT_FALSE(CameraFeeds::Create(cacheDir, setup, &error));
        EXPECT_FALSE(error.empty());
        return error;
    };
    FeedSetup setup = SixteenCameras();
    setup.cameras = {CameraSpec{16, "x", false, -1}};
    EXPECT_NE(refused(folder.path(), setup).find("16"), std::string::npos);
    setup.cameras = {CameraSpec{2, "x", false, -1}, CameraSpec{2, "y", false, -1}};
    EXPECT_NE(refused(folder.path(), setup).find("twice"), std::string::npos);
    setup.cameras = {CameraSpec{2, "x", false, 256}};
    refused(folder.path(), setup);
    setup.cameras = {CameraSpec{2, "x", false, -1}};
    setup.loopSeconds = -1;
    refused(folder.path(), setup);

    const std::string notAFolder = folder.path() + "/file";
    std::ofstream(notAFolder) << "x";
    setup.loopSeconds = 1;
    EXPECT_NE(refused(notAFolder, setup).find(notAFolder), std::string::npos);
}

}  // namespace
