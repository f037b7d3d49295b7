#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "emulator/media/MediaTestSupport.h"
#include "media/CameraFeeds.h"

namespace {

using emulator::media::CameraFeeds;
using emulator::media::CameraSpec;
using emulator::media::FeedSetup;
using emulator::media::MediaLoop;

std::vector<uint8_t> PelcoD(uint8_t address, uint8_t cmd2)
{
    return {0xFF, address, 0, cmd2, 0x20, 0x20, static_cast<uint8_t>(address + cmd2 + 0x40)};
}

std::vector<uint8_t> PelcoP(uint8_t address, uint8_t data2)
{
    std::vector<uint8_t> bytes = {0xA0, address, 0, data2, 0x20, 0x20, 0xAF};
    uint8_t check = 0;
    for (uint8_t b : bytes)
        check ^= b;
    bytes.push_back(check);
    return bytes;
}

std::vector<uint8_t> WithTrailer(std::vector<uint8_t> command, uint8_t channel)
{
    command.insert(command.end(), {'a', 'a', channel});
    return command;
}

constexpr uint8_t kPanRight = 0x02;
constexpr uint8_t kTiltUp = 0x08;
constexpr uint8_t kZoomIn = 0x20;

class CameraPtz : public ::testing::Test {
protected:
    void SetUp() override
    {
        FeedSetup setup;
        setup.loopSeconds = 1;
        setup.cameras = {CameraSpec{0, "North", false, -1}, CameraSpec{1, "South", false, 7},
                         CameraSpec{2, "East", false, -1}};
        std::string error;
        feeds_ = CameraFeeds::Create(folder_.path(), setup, &error);
        ASSERT_TRUE(feeds_) << error;
        for (int camera = 0; camera < 3; ++camera)
            before_.push_back(feeds_->Video(camera));
    }

    void Send(const std::vector<uint8_t>& bytes) { feeds_->OnSerialBytes(bytes.data(), bytes.size()); }

    // The view loop is made in the background; give it a generous while.
    std::shared_ptr<const MediaLoop> WaitForChange(int camera)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            auto now = feeds_->Video(camera);
            if (now != before_[static_cast<size_t>(camera)])
                return now;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return nullptr;
    }

    TempDir folder_;
    std::unique_ptr<CameraFeeds> feeds_;
    std::vector<std::shared_ptr<const MediaLoop>> before_;
};

TEST_F(CameraPtz, TrailerChannelPicksTheCameraAndTheViewVisiblyMoves)
{
    Send(WithTrailer(PelcoD(1, kPanRight), 2));  // address 1 would be camera 0: the trailer wins
    const auto moved = WaitForChange(2);
    ASSERT_TRUE(moved);
    EXPECT_EQ(feeds_->Video(0), before_[0]);
    EXPECT_EQ(feeds_->Video(1), before_[1]);
    EXPECT_EQ(moved->units.front().pes[3], 0xE2);
    EXPECT_TRUE(moved->units.front().keyframe);

    std::string error;
    const auto old = mediatest::DecodeVideo(*before_[2], 1, &error);
    const auto now = mediatest::DecodeVideo(*moved, 1, &error);
    ASSERT_EQ(old.size(), 1u);
    ASSERT_EQ(now.size(), 1u) << error;
    EXPECT_EQ(now[0].width, 704);
    // The street slid sideways: the picture's middle band changed a lot.
    double difference = 0;
    for (size_t i = 0; i < old[0].y.size(); ++i)
        difference += std::abs(int{old[0].y[i]} - int{now[0].y[i]});
    EXPECT_GT(difference / static_cast<double>(old[0].y.size()), 5.0);
}

TEST_F(CameraPtz, WithoutTrailerThePelcoAddressPicksTheCamera)
{
    Send(PelcoD(7, kTiltUp));  // camera 1 answers to address 7
    ASSERT_TRUE(WaitForChange(1));
    Send(PelcoP(0, kZoomIn));  // Pelco-P address 0 is the first camera on the line
    ASSERT_TRUE(WaitForChange(0));
    EXPECT_EQ(feeds_->Video(2), before_[2]);
}

TEST_F(CameraPtz, StopsUnknownCamerasAndNoiseChangeNothing)
{
    Send(WithTrailer(PelcoD(3, 0), 2));          // stop
    Send(WithTrailer(PelcoD(3, kPanRight), 9));  // channel without a camera
    Send(PelcoD(2, kPanRight));                  // address 2 is camera 1's default, but camera 1 uses 7
    std::vector<uint8_t> noise(5000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<uint8_t>(i * 37 + 11);
    Send(noise);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (int camera = 0; camera < 3; ++camera)
        EXPECT_EQ(feeds_->Video(camera), before_[static_cast<size_t>(camera)]) << camera;
}

TEST_F(CameraPtz, SplitCommandStillMovesAndGoingBackReusesTheHomeView)
{
    const auto right = WithTrailer(PelcoD(3, kPanRight), 2);
    const auto stop = WithTrailer(PelcoD(3, 0), 2);  // released at once: one step
    Send({right.begin(), right.begin() + 4});
    Send({right.begin() + 4, right.end()});
    Send(stop);
    const auto moved = WaitForChange(2);
    ASSERT_TRUE(moved);
    const size_t filesAfterMove = mediatest::SortedFiles(folder_.path()).size();
    EXPECT_EQ(filesAfterMove, 4u);

    const auto original = before_[2];
    before_[2] = moved;
    Send(WithTrailer(PelcoD(3, 0x04), 2));  // pan left: back home, a view already on disk
    Send(stop);
    const auto home = WaitForChange(2);
    ASSERT_TRUE(home);
    EXPECT_EQ(mediatest::Elementary(*home), mediatest::Elementary(*original));
    EXPECT_EQ(mediatest::SortedFiles(folder_.path()).size(), filesAfterMove);
}

TEST_F(CameraPtz, DestroyingWhileAViewIsBeingMadeDoesNotHang)
{
    for (int i = 0; i < 3; ++i)
        Send(WithTrailer(PelcoD(3, kZoomIn), static_cast<uint8_t>(i)));
    feeds_.reset();
    SUCCEED();
}

}  // namespace
