#include "LiveStream.h"
#include "support/TempDir.h"
#include "UploadFileSink.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace emulator;

namespace {

std::shared_ptr<const media::MediaLoop> Loop(uint32_t units, uint32_t stepMs)
{
    auto loop = std::make_shared<media::MediaLoop>();
    for (uint32_t i = 0; i < units; ++i)
        loop->units.push_back(media::MediaUnit{{0, 0, 1, 0xE0}, i * stepMs, i % 25 == 0});
    loop->durationMs = units * stepMs;
    return loop;
}

}  // namespace

TEST(LiveStream, UnitsFallDueOnTheLoopsClockAndTimeKeepsRunningOverPasses)
{
    LiveStream stream(2, 0, Loop(50, 40), 10000);
    ASSERT_TRUE(stream.Valid());
    uint64_t lastPts = 0;
    for (int i = 0; i < 120; ++i) {
        EXPECT_EQ(stream.NextDueMs(), 10000u + 40u * i) << i;
        EXPECT_GT(stream.NextPts(), lastPts) << i;
        lastPts = stream.NextPts();
        stream.Advance();
    }
    EXPECT_EQ(lastPts, (119u * 40 + 1000) * 90);
}

TEST(LiveStream, ASwitchedLoopStartsWhereTheOldOneWouldHaveGoneOn)
{
    LiveStream stream(2, 4, Loop(50, 40), 0);
    for (int i = 0; i < 25; ++i)
        stream.Advance();
    ASSERT_TRUE(stream.NextUnit().keyframe);
    const uint64_t due = stream.NextDueMs();
    const uint64_t pts = stream.NextPts();
    auto other = Loop(30, 40);
    EXPECT_TRUE(stream.SwitchTo(other));
    EXPECT_EQ(stream.Loop(), other.get());
    EXPECT_EQ(stream.NextDueMs(), due);
    EXPECT_EQ(stream.NextPts(), pts);
    EXPECT_FALSE(stream.SwitchTo(std::make_shared<media::MediaLoop>())) << "an empty loop is refused";
    EXPECT_EQ(stream.Loop(), other.get());
    EXPECT_FALSE(LiveStream(3, 0, nullptr, 0).Valid());
}

TEST(UploadFileSink, TheFileAppearsWholeOnCommitOrNotAtAll)
{
    TempDir tmp;
    const std::string folder = tmp.path() + "/uploads";
    std::string error;
    const std::vector<uint8_t> bytes(700, 0x5A);
    {
        auto sink = UploadFileSink::Create(folder, "fw.bin", 700, &error);
        ASSERT_TRUE(sink) << error;
        EXPECT_TRUE(sink->Write(bytes.data(), 512));
        EXPECT_FALSE(std::filesystem::exists(folder + "/fw.bin")) << "nothing under the name before commit";
        EXPECT_FALSE(sink->Commit()) << "short of the announced size";
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder)) << "an abandoned upload leaves nothing";

    auto sink = UploadFileSink::Create(folder, "fw.bin", 700, &error);
    ASSERT_TRUE(sink);
    EXPECT_TRUE(sink->Write(bytes.data(), 700));
    EXPECT_FALSE(sink->Write(bytes.data(), 1)) << "more than announced";
    EXPECT_TRUE(sink->Commit());
    sink.reset();
    EXPECT_EQ(std::filesystem::file_size(folder + "/fw.bin"), 700u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}
