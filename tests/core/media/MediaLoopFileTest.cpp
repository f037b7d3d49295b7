#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/media/MediaLoopFile.h"
#include "core/media/PesPacketizer.h"

namespace {

media::MediaUnit Unit(uint8_t streamId, uint32_t timeMs, bool keyframe, size_t size)
{
    std::vector<uint8_t> payload(size, static_cast<uint8_t>(timeMs));
    auto packet = media::PacketizeAccessUnit(streamId, media::MillisecondsToPts(timeMs), payload.data(), size);
    return media::MediaUnit{packet.at(0), timeMs, keyframe};
}

media::MediaLoop SmallLoop()
{
    media::MediaLoop loop;
    loop.durationMs = 120;
    loop.units = {Unit(0xE4, 0, true, 30), Unit(0xE4, 40, false, 5), Unit(0xE4, 80, false, 12)};
    return loop;
}

bool Decodes(const std::vector<uint8_t>& bytes, const std::string& key, media::MediaLoop* out = nullptr)
{
    media::MediaLoop loop;
    std::string error;
    const bool ok = media::DecodeMediaLoopFile(bytes.data(), bytes.size(), key, &loop, &error);
    EXPECT_EQ(ok, error.empty()) << error;
    if (out)
        *out = loop;
    return ok;
}

TEST(MediaLoopFile, RoundTrips)
{
    const auto loop = SmallLoop();
    media::MediaLoop back;
    ASSERT_TRUE(Decodes(media::EncodeMediaLoopFile(loop, "camera 4"), "camera 4", &back));
    EXPECT_EQ(back.durationMs, loop.durationMs);
    ASSERT_EQ(back.units.size(), loop.units.size());
    for (size_t i = 0; i < loop.units.size(); ++i) {
        EXPECT_EQ(back.units[i].pes, loop.units[i].pes);
        EXPECT_EQ(back.units[i].timeMs, loop.units[i].timeMs);
        EXPECT_EQ(back.units[i].keyframe, loop.units[i].keyframe);
    }
}

TEST(MediaLoopFile, AnyChangedOrMissingByteIsRefused)
{
    const auto bytes = media::EncodeMediaLoopFile(SmallLoop(), "camera 4");
    for (size_t i = 0; i < bytes.size(); ++i) {
        auto damaged = bytes;
        damaged[i] ^= 0x10;
        EXPECT_FALSE(Decodes(damaged, "camera 4")) << "byte " << i;
    }
    for (size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(Decodes(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(size)), "camera 4"))
            << "size " << size;
    auto longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(Decodes(longer, "camera 4"));
    // A file made for other settings.
    EXPECT_FALSE(Decodes(bytes, "camera 5"));
    EXPECT_FALSE(Decodes(bytes, ""));
}

// A file with a valid checksum can still hold units no sender should use.
TEST(MediaLoopFile, RefusesWellSummedButUnusableLoops)
{
    auto notPes = SmallLoop();
    notPes.units[1].pes = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_FALSE(Decodes(media::EncodeMediaLoopFile(notPes, "k"), "k"));

    auto twoPackets = SmallLoop();
    const auto extra = twoPackets.units[2].pes;
    twoPackets.units[1].pes.insert(twoPackets.units[1].pes.end(), extra.begin(), extra.end());
    EXPECT_FALSE(Decodes(media::EncodeMediaLoopFile(twoPackets, "k"), "k"));

    auto backwards = SmallLoop();
    backwards.units[2].timeMs = 20;
    EXPECT_FALSE(Decodes(media::EncodeMediaLoopFile(backwards, "k"), "k"));

    auto pastEnd = SmallLoop();
    pastEnd.units[2].timeMs = 120;
    EXPECT_FALSE(Decodes(media::EncodeMediaLoopFile(pastEnd, "k"), "k"));

    auto noKeyframe = SmallLoop();
    noKeyframe.units[0].keyframe = false;
    EXPECT_FALSE(Decodes(media::EncodeMediaLoopFile(noKeyframe, "k"), "k"));

    auto mixed = SmallLoop();
    mixed.units[1] = Unit(0xC4, 40, true, 5);
    EXPECT_FALSE(Decodes(media::EncodeMediaLoopFile(mixed, "k"), "k"));

    auto empty = SmallLoop();
    empty.units.clear();
    EXPECT_FALSE(Decodes(media::EncodeMediaLoopFile(empty, "k"), "k"));

    auto noDuration = SmallLoop();
    noDuration.durationMs = 0;
    EXPECT_FALSE(Decodes(media::EncodeMediaLoopFile(noDuration, "k"), "k"));
}

}  // namespace
