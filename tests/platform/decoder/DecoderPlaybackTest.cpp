#include "DecoderTestSupport.h"

#include "core/mpeg/ProgramStreamUnit.h"
#include "platform/decoder/MPEG4MultiDecoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <thread>

namespace {

using namespace dectest;

class DecoderPlayback : public ::testing::Test {
protected:
    void SetUp() override
    {
        MP4MUL_InitializeDecoder();
        ASSERT_TRUE(decoder.InitializeDecodeSystems(window.Handle(), true, false));
    }

    void Prime(uint8_t videoType)
    {
        DemuxUnits(decoder, {PackHeader(), ClientMap(videoType)});
    }

    bool SizeIs(int channel, int width, int height)
    {
        return WaitFor([&] { return decoder.GetVideoWidth(channel) == width && decoder.GetVideoHeight(channel) == height; });
    }

    // Waits until the channel has taken all but the newest of the pictures fed.
    void KeepPace(int channel, uint64_t fed)
    {
        WaitFor([&] {
            const auto s = decoder.GetStats(channel);
            return s.decoded + s.skipped + 1 >= fed;
        }, std::chrono::seconds(2));
    }

    CountingWindow window;
    CMPEG4MultiDecoder decoder;
};

TEST_F(DecoderPlayback, H264OnItsChannelGivesPicturesOfTheRightSizeAndTellsTheWindow)
{
    Prime(0x84);
    const auto units = ReadAccessUnits(GetMedia().h264Cif);
    ASSERT_EQ(units.size(), 25u);
    EXPECT_EQ(decoder.GetVideoWidth(3), 0);
    FeedAccessUnits(decoder, 0xE3, units);
    ASSERT_TRUE(SizeIs(3, 352, 288));
    EXPECT_TRUE(WaitFor([&] { return decoder.GetStats(3).decoded == 25; }));
    EXPECT_EQ(decoder.GetVideoWidth(2), 0);
    EXPECT_EQ(decoder.GetStats(2).decoded, 0u);
    EXPECT_GE(window.Count(kMsgVideoFramesReady), 1);
}

TEST_F(DecoderPlayback, APausedStreamShowsItsNewestPictureAndGoesOnWhereItWas)
{
    Prime(0x84);
    const auto units = ReadAccessUnits(GetMedia().h264Cif);
    FeedAccessUnits(decoder, 0xE8, units, 0, 13);
    // The thirteenth picture is not held back until a fourteenth begins.
    EXPECT_TRUE(WaitFor([&] { return decoder.GetStats(8).decoded == 13; }));
    // After the pause the stream continues mid-group on the same references.
    FeedAccessUnits(decoder, 0xE8, units, 13, 25);
    EXPECT_TRUE(WaitFor([&] { return decoder.GetStats(8).decoded == 25; }));
    EXPECT_EQ(decoder.GetStats(8).skipped, 0u);
}

TEST_F(DecoderPlayback, RecorderAndStandardStreamTypesAndNoMapAtAllWork)
{
    Prime(0x82);
    FeedAccessUnits(decoder, 0xE5, ReadAccessUnits(GetMedia().mpeg4Qvga));
    ASSERT_TRUE(SizeIs(5, 320, 240));
    EXPECT_TRUE(WaitFor([&] { return decoder.GetStats(5).decoded >= 24; }));

    Prime(0x10);  // says MPEG-4 but channel 1 carries H.264: the stream decides
    FeedAccessUnits(decoder, 0xE1, ReadAccessUnits(GetMedia().h264Qcif));
    EXPECT_TRUE(SizeIs(1, 176, 144));

    decoder.DisposeDecodeSystems();
    ASSERT_TRUE(decoder.InitializeDecodeSystems(window.Handle(), true, false));
    FeedAccessUnits(decoder, 0xE0, ReadAccessUnits(GetMedia().mpeg4Qvga));
    EXPECT_TRUE(SizeIs(0, 320, 240));
}

TEST_F(DecoderPlayback, AStreamJoinedMidGopStartsAtTheNextKeyframe)
{
    Prime(0x84);
    const auto units = ReadAccessUnits(GetMedia().h264Cif);
    ASSERT_TRUE(units[10].keyframe);
    FeedAccessUnits(decoder, 0xE0, units, 3, 25);
    ASSERT_TRUE(SizeIs(0, 352, 288));
    ASSERT_TRUE(WaitFor([&] { return decoder.GetStats(0).decoded >= 14; }));
    const auto stats = decoder.GetStats(0);
    // Pictures 3-9 lean on a keyframe never seen: skipped, not shown broken.
    EXPECT_EQ(stats.skipped, 7u);
    EXPECT_LE(stats.decoded, 15u);
}

TEST_F(DecoderPlayback, GarbageAndTruncatedUnitsAreRefusedAndDecodingGoesOn)
{
    Prime(0x84);
    const auto units = ReadAccessUnits(GetMedia().h264Cif);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (size_t i = 0; i < units.size(); ++i) {
        std::vector<uint8_t> garbage(64 + i * 13);
        for (auto& b : garbage)
            b = uint8_t(byte(random));
        EXPECT_EQ(decoder.Demux(garbage.data(), garbage.data() + garbage.size(), 0), -1);
        const auto packets = Packetize(0xE2, 3600 * i, units[i].data);
        const auto& first = packets.front();
        // Half a unit: refused, nothing read past its end.
        EXPECT_EQ(decoder.Demux(first.data(), first.data() + first.size() / 2, 0), -1);
        DemuxUnits(decoder, packets);
        KeepPace(2, i + 1);
    }
    EXPECT_TRUE(SizeIs(2, 352, 288));
    EXPECT_TRUE(WaitFor([&] { return decoder.GetStats(2).decoded >= 20; }));

    // Garbage in front of a unit in one buffer is passed over.
    const auto small = ReadAccessUnits(GetMedia().h264Qcif);
    for (size_t i = 0; i < small.size(); ++i) {
        for (auto& packet : Packetize(0xE4, 3600 * i, small[i].data)) {
            std::vector<uint8_t> buffer = {0x00, 0x00, 0x01, 0x47, 0x11, 0x22};
            buffer.insert(buffer.end(), packet.begin(), packet.end());
            EXPECT_EQ(decoder.Demux(buffer.data(), buffer.data() + buffer.size(), 0), int(buffer.size()));
        }
        KeepPace(4, i + 1);
    }
    EXPECT_TRUE(SizeIs(4, 176, 144));
}

TEST_F(DecoderPlayback, SizeAndCodecChangesOnOneChannelAreFollowed)
{
    Prime(0x84);
    FeedAccessUnits(decoder, 0xE6, ReadAccessUnits(GetMedia().h264Cif));
    ASSERT_TRUE(SizeIs(6, 352, 288));
    FeedAccessUnits(decoder, 0xE6, ReadAccessUnits(GetMedia().h264Qcif));
    ASSERT_TRUE(SizeIs(6, 176, 144));
    // The recorder switched to MPEG-4 without a new map.
    FeedAccessUnits(decoder, 0xE6, ReadAccessUnits(GetMedia().mpeg4Qvga));
    EXPECT_TRUE(SizeIs(6, 320, 240));
}

TEST_F(DecoderPlayback, UnitsBeforeInitialisationOrAfterDisposalAreIgnored)
{
    decoder.DisposeDecodeSystems();
    EXPECT_FALSE(decoder.Redraw());
    Prime(0x84);
    FeedAccessUnits(decoder, 0xE0, ReadAccessUnits(GetMedia().h264Qcif));
    EXPECT_EQ(decoder.GetStats(0).decoded, 0u);
    EXPECT_EQ(decoder.GetVideoWidth(0), 0);
    decoder.DisposeDecodeSystems();  // twice is harmless
}

TEST_F(DecoderPlayback, ForeignProgramStreamsFromFfmpegPlayUnitByUnit)
{
    for (const std::string& path : {GetMedia().vobH264, GetMedia().vobMpeg4}) {
        decoder.DisposeDecodeSystems();
        ASSERT_TRUE(decoder.InitializeDecodeSystems(window.Handle(), true, false));
        std::ifstream file(path, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(bytes.empty()) << path;

        mpeg::UnitSplitter splitter(bytes.data(), bytes.size(), true);
        mpeg::UnitSplitter::Unit unit{};
        int packs = 0;
        int channel = -1;
        uint64_t pictures = 0;
        while (splitter.Next(&unit)) {
            packs += unit.kind == mpeg::UnitKind::PackHeader;
            const bool video = unit.kind == mpeg::UnitKind::Pes && (unit.data[3] & 0xF0) == 0xE0;
            if (video)
                channel = unit.data[3] & 0x0F;
            EXPECT_EQ(decoder.Demux(unit.data, unit.data + unit.size, 0), int(unit.size));
            // A PTS: one or more pictures start here. Paced like the camera.
            if (video && (unit.data[7] & 0x80)) {
                KeepPace(channel, ++pictures);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        EXPECT_EQ(splitter.SkippedBytes(), 0u) << path;
        EXPECT_GT(packs, 1);
        ASSERT_GE(channel, 0);
        const int width = path == GetMedia().vobH264 ? 352 : 320;
        EXPECT_TRUE(WaitFor([&] { return decoder.GetVideoWidth(channel) == width; })) << path;
        EXPECT_TRUE(WaitFor([&] { return decoder.GetStats(channel).decoded >= 20; })) << path;
    }
}

TEST_F(DecoderPlayback, OverloadDiscardsUpToTheNextKeyframeAndRecovers)
{
    Prime(0x84);
    const auto units = ReadAccessUnits(GetMedia().h264Cif);
    // A burst far faster than decoding: most of it has to give way.
    for (int round = 0; round < 4; ++round) {
        for (size_t i = 0; i < units.size(); ++i)
            DemuxUnits(decoder, Packetize(0xE7, 3600 * i, units[i].data));
    }
    EXPECT_GT(decoder.GetStats(7).skipped, 0u);
    // The stream goes on at its normal pace and is decoded again.
    const auto afterBurst = decoder.GetStats(7);
    // Pictures still queued from the burst may cost the first groups of
    // pictures on a slow or busy machine; the stream must decode again.
    auto recovered = [&] { return decoder.GetStats(7).decoded >= afterBurst.decoded + 10; };
    for (int pass = 0; pass < 3 && !recovered(); ++pass)
        FeedAccessUnits(decoder, 0xE7, units);
    EXPECT_TRUE(SizeIs(7, 352, 288));
    EXPECT_TRUE(WaitFor(recovered));
}

} // namespace
