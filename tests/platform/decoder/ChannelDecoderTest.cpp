#include "DecoderTestSupport.h"

#include "core/mpeg/PesPacket.h"
#include "platform/decoder/ChannelDecoder.h"

#include <gtest/gtest.h>

namespace {

using namespace dectest;
using namespace std::chrono_literals;

// One channel's decoder driven turn by turn with a clock of the test's own:
// a picture shown on the turn that decoded it was not waiting for a timer.
class ChannelDecoderTurns : public ::testing::Test {
protected:
    void SetUp() override
    {
        state.SetPane(VideoRect{0, 0, 176, 144});
        units = ReadAccessUnits(GetMedia().h264Cif);
        ASSERT_EQ(units.size(), 25u);
    }

    void Submit(const std::vector<uint8_t>& packet)
    {
        const auto pes = mpeg::ParsePesPacket(packet.data(), packet.size());
        ASSERT_TRUE(pes);
        decoder.Submit(*pes, mpeg::VideoCodec::H264);
    }

    // A picture's packets as the recorder sends them (the first carries the PTS).
    void SubmitPicture(const std::vector<uint8_t>& picture, uint64_t pts)
    {
        for (const auto& packet : Packetize(0xE0, pts, picture))
            Submit(packet);
    }

    int64_t ShownPts()
    {
        const auto picture = state.Slot().Peek();
        return picture ? picture->pts : -2;
    }

    ChannelState state;
    std::atomic<bool> deinterlace{false};
    RepaintRequester repaint;
    ChannelDecoder decoder{0, state, deinterlace, repaint};
    std::vector<AccessUnit> units;
    const DecoderJob::Clock::time_point start = DecoderJob::Clock::now();
};

// A filler NAL unit (ignored by decoders) that makes a picture too large for one PES packet.
std::vector<uint8_t> WithFiller(std::vector<uint8_t> picture, size_t fillerBytes)
{
    const uint8_t head[] = {0, 0, 0, 1, 0x0C};
    picture.insert(picture.end(), std::begin(head), std::end(head));
    picture.insert(picture.end(), fillerBytes, 0xFF);
    picture.push_back(0x80);
    return picture;
}

// A PES packet without a PTS: the continuation of a picture.
std::vector<uint8_t> ContinuationPacket(const std::vector<uint8_t>& payload)
{
    const size_t length = 3 + payload.size();
    std::vector<uint8_t> packet{0, 0, 1, 0xE0, uint8_t(length >> 8), uint8_t(length), 0x80, 0x00, 0x00};
    packet.insert(packet.end(), payload.begin(), payload.end());
    return packet;
}

TEST_F(ChannelDecoderTurns, AWholePictureIsShownOnTheTurnThatDecodesItAndNothingIsLeftWaiting)
{
    SubmitPicture(units[0].data, 3600);
    const DecoderJob::Turn turn = decoder.Run(start);
    EXPECT_EQ(state.decoded.load(), 1u);
    EXPECT_EQ(ShownPts(), 3600);
    EXPECT_FALSE(turn.at.has_value());

    // The stream then stops: no later turn is needed to show anything.
    SubmitPicture(units[1].data, 7200);
    EXPECT_FALSE(decoder.Run(start + 40ms).at.has_value());
    EXPECT_EQ(state.decoded.load(), 2u);
    EXPECT_EQ(ShownPts(), 7200);
}

TEST_F(ChannelDecoderTurns, APictureInSeveralUnitsIsShownWhenItsLastUnitComes)
{
    SubmitPicture(units[0].data, 3600);
    decoder.Run(start);
    const auto packets = Packetize(0xE0, 7200, WithFiller(units[1].data, 70000));
    ASSERT_EQ(packets.size(), 2u);
    ASSERT_EQ(packets[0].size(), mpeg::kMaxPesPacketBytes);

    // A full packet may go on: its picture waits, at most for the pause.
    Submit(packets[0]);
    const DecoderJob::Turn waiting = decoder.Run(start + 40ms);
    EXPECT_EQ(state.decoded.load(), 1u);
    ASSERT_TRUE(waiting.at.has_value());
    EXPECT_EQ(*waiting.at, start + 40ms + ChannelDecoder::kPauseBeforeFlush);

    Submit(packets[1]);
    EXPECT_FALSE(decoder.Run(start + 41ms).at.has_value());
    EXPECT_EQ(state.decoded.load(), 2u);
    EXPECT_EQ(ShownPts(), 7200);
}

TEST_F(ChannelDecoderTurns, AStreamThatGoesOnAfterAShortUnitIsShownAfterThePauseFromThenOn)
{
    SubmitPicture(units[0].data, 3600);
    decoder.Run(start);
    // This recorder cuts a picture into two short units.
    const std::vector<uint8_t>& second = units[1].data;
    const size_t half = second.size() / 2;
    SubmitPicture(std::vector<uint8_t>(second.begin(), second.begin() + long(half)), 7200);
    Submit(ContinuationPacket(std::vector<uint8_t>(second.begin() + long(half), second.end())));
    decoder.Run(start + 40ms);

    // From then on a picture waits for the next one or for the pause.
    for (size_t i = 2; i < 4; ++i) {
        const uint64_t decoded = state.decoded.load();
        const auto now = start + 40ms * int(i);
        SubmitPicture(units[i].data, 3600 * (i + 1));
        const DecoderJob::Turn turn = decoder.Run(now);
        EXPECT_EQ(state.decoded.load(), decoded);
        ASSERT_TRUE(turn.at.has_value());
        EXPECT_EQ(*turn.at, now + ChannelDecoder::kPauseBeforeFlush);
        decoder.Run(*turn.at);
        EXPECT_EQ(state.decoded.load(), decoded + 1);
    }
    // (The tail of the cut picture went with the next one, but a picture of its own carries its PTS.)
    EXPECT_EQ(ShownPts(), 4 * 3600);
}

} // namespace
