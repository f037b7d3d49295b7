#include "platform/decoder/LiveDecoder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<unsigned char> Pes(unsigned char streamId)
{
    return {0x00, 0x00, 0x01, streamId, 0x00, 0x03, 0x80, 0x00, 0x00};
}

class LiveDecoderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(decoder.Initialise(0, 1, 720, 576, false)); }
    CLiveDecoder decoder;
};

TEST_F(LiveDecoderTest, InitialiseEmptiesEverySlotInAnyMode)
{
    EXPECT_TRUE(decoder.IsInitialised());
    EXPECT_EQ(decoder.AllocateSlot(), 0);
    EXPECT_EQ(decoder.AllocateSlot(), 1);
    decoder.AddMapping(1, 0, 9);
    ASSERT_TRUE(decoder.Initialise(0, 1, 720, 576, true));
    EXPECT_FALSE(decoder.IsSlotInUse(0));
    EXPECT_FALSE(decoder.IsSlotInUse(1));
    EXPECT_EQ(decoder.AllocateSlot(), 0);
    auto unit = Pes(0xE0);
    EXPECT_EQ(decoder.PushVideo(1, unit.data(), static_cast<int>(unit.size())), 0);
    // An unknown mode builds no map but still starts.
    EXPECT_TRUE(decoder.Initialise(0, 7, 720, 576, false));
    EXPECT_TRUE(decoder.IsInitialised());
}

TEST_F(LiveDecoderTest, PushVideoRewritesTheStreamIdInPlaceAndReturnsTheChannel)
{
    const int slot = decoder.AllocateSlot();
    decoder.AddMapping(slot, 3, 12);
    auto unit = Pes(0xE3);
    EXPECT_EQ(decoder.PushVideo(slot, unit.data(), static_cast<int>(unit.size())), 12);
    EXPECT_EQ(unit[3], 0xEC);
    EXPECT_EQ(decoder.LastVideoLength(), static_cast<int>(unit.size()));

    // No mapping: the unit keeps its camera's stream id.
    auto other = Pes(0xE6);
    EXPECT_EQ(decoder.PushVideo(slot, other.data(), static_cast<int>(other.size())), 6);
    EXPECT_EQ(other[3], 0xE6);

    // Two buttons of a paired model map one source: the first entry wins.
    decoder.AddMapping(slot, 0, 4);
    decoder.AddMapping(slot, 0, 5);
    auto shared = Pes(0xE0);
    EXPECT_EQ(decoder.PushVideo(slot, shared.data(), static_cast<int>(shared.size())), 4);

    // Another session's slot does not rewrite this session's cameras.
    const int second = decoder.AllocateSlot();
    auto unmapped = Pes(0xE3);
    EXPECT_EQ(decoder.PushVideo(second, unmapped.data(), static_cast<int>(unmapped.size())), 3);

    // Units too short or not video are no channel.
    unsigned char tiny[3] = {0, 0, 1};
    EXPECT_EQ(decoder.PushVideo(slot, tiny, 3), -1);
    EXPECT_EQ(decoder.PushVideo(slot, nullptr, 10), -1);
    auto audio = Pes(0xC1);
    const int channel = decoder.PushVideo(slot, audio.data(), static_cast<int>(audio.size()));
    EXPECT_TRUE(channel < 0 || channel > 15);
}

TEST_F(LiveDecoderTest, AudioPassesOnlyWhenOnAndOfTheSelectedCamera)
{
    const int slot = decoder.AllocateSlot();
    auto camera4 = Pes(0xC4);
    EXPECT_FALSE(decoder.PushAudio(slot, camera4.data(), static_cast<int>(camera4.size())));  // off at start
    decoder.SetAudioOn(true);
    decoder.SelectAudio(3);
    EXPECT_EQ(decoder.AudioChannel(), 3);
    EXPECT_FALSE(decoder.PushAudio(slot, camera4.data(), static_cast<int>(camera4.size())));
    decoder.SelectAudio(4);
    EXPECT_TRUE(decoder.PushAudio(slot, camera4.data(), static_cast<int>(camera4.size())));
    EXPECT_EQ(camera4[3], 0xC4);  // audio ids are never rewritten
    decoder.SetAudioOn(false);
    EXPECT_FALSE(decoder.PushAudio(slot, camera4.data(), static_cast<int>(camera4.size())));
    unsigned char tiny[2] = {0, 0};
    decoder.SetAudioOn(true);
    EXPECT_FALSE(decoder.PushAudio(slot, tiny, 2));
}

} // namespace
