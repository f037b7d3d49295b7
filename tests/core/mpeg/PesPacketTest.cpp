#include "MpegTestBytes.h"

#include "core/mpeg/PesPacket.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using mpegtest::Pes;

TEST(PesPacket, ReadsAnMpeg2PacketWithItsTimeStampAndPayload)
{
    const std::vector<uint8_t> payload = {0, 0, 0, 1, 0x67, 0x42, 0x00, 0x1E};
    for (uint64_t pts : {uint64_t{0}, uint64_t{90000}, uint64_t{0x1FFFFFFFF}, uint64_t{0x155555555}}) {
        const auto bytes = Pes(0xE3, payload, true, pts);
        auto pes = mpeg::ParsePesPacket(bytes.data(), bytes.size());
        ASSERT_TRUE(pes);
        EXPECT_EQ(pes->streamId, 0xE3);
        EXPECT_EQ(pes->size, bytes.size());
        EXPECT_TRUE(pes->hasPts);
        EXPECT_EQ(pes->pts, pts);
        EXPECT_TRUE(pes->dataAlignment);
        EXPECT_EQ(std::vector<uint8_t>(pes->payload, pes->payload + pes->payloadSize), payload);
        EXPECT_TRUE(mpeg::ParseMpeg2PesPacket(bytes.data(), bytes.size(), nullptr));
    }
}

TEST(PesPacket, LeavesBytesAfterThePacketAlone)
{
    auto bytes = Pes(0xC1, {1, 2, 3}, false);
    const size_t packetSize = bytes.size();
    bytes.insert(bytes.end(), {0x00, 0x00, 0x01, 0xBA});
    auto pes = mpeg::ParsePesPacket(bytes.data(), bytes.size());
    ASSERT_TRUE(pes);
    EXPECT_FALSE(pes->hasPts);
    EXPECT_EQ(pes->size, packetSize);
    EXPECT_EQ(pes->payloadSize, 3u);
}

TEST(PesPacket, ReadsMpeg1HeadersWithStuffingBufferFieldsAndTimeStamps)
{
    std::vector<uint8_t> bytes = {0x00, 0x00, 0x01, 0xE0, 0x00, 0x00, 0xFF, 0xFF, 0x40, 0x20,
                                  0, 0, 0, 0, 0, 0xAA, 0xBB};
    mpegtest::PutPts(bytes.data() + 10, 0x2, 12345);
    bytes[5] = uint8_t(bytes.size() - 6);
    auto pes = mpeg::ParsePesPacket(bytes.data(), bytes.size());
    ASSERT_TRUE(pes);
    EXPECT_TRUE(pes->hasPts);
    EXPECT_EQ(pes->pts, 12345u);
    EXPECT_EQ(pes->payloadSize, 2u);
    EXPECT_EQ(pes->payload[0], 0xAA);

    const std::vector<uint8_t> plain = {0x00, 0x00, 0x01, 0xC0, 0x00, 0x02, 0x0F, 0x55};
    pes = mpeg::ParsePesPacket(plain.data(), plain.size());
    ASSERT_TRUE(pes);
    EXPECT_FALSE(pes->hasPts);
    EXPECT_EQ(pes->payloadSize, 1u);
}

TEST(PesPacket, StreamsWithoutHeaderExtensionCarryTheirBytesAsPayload)
{
    for (uint8_t id : {0xBE, 0xBF, 0xF0, 0xF2, 0xF8, 0xFF}) {
        // 0xFF bytes would be stuffing, 0x0F a bare header, if these streams had one.
        const std::vector<uint8_t> bytes = {0x00, 0x00, 0x01, id, 0x00, 0x03, 0xFF, 0x0F, 0xFF};
        for (const auto& pes : {mpeg::ParsePesPacket(bytes.data(), bytes.size()),
                                mpeg::ParseMpeg2PesPacket(bytes.data(), bytes.size(), nullptr)}) {
            ASSERT_TRUE(pes) << int(id);
            EXPECT_FALSE(pes->hasPts);
            EXPECT_EQ(pes->payload, bytes.data() + 6);
            EXPECT_EQ(pes->payloadSize, 3u);
        }
    }
}

TEST(PesPacket, ReadsPtsAndDtsWithTheirPrefixes)
{
    std::vector<uint8_t> both = {0, 0, 1, 0xE2, 0, 15, 0x80, 0xC0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xAB, 0xCD};
    mpegtest::PutPts(both.data() + 9, 0x3, 1);
    mpegtest::PutPts(both.data() + 14, 0x1, 2);
    for (const auto& pes : {mpeg::ParsePesPacket(both.data(), both.size()),
                            mpeg::ParseMpeg2PesPacket(both.data(), both.size(), nullptr)}) {
        ASSERT_TRUE(pes);
        EXPECT_EQ(pes->pts, 1u);
        EXPECT_TRUE(pes->hasDts);
        EXPECT_EQ(pes->dts, 2u);
        EXPECT_EQ(pes->payloadSize, 2u);
    }

    // A recorder's broken DTS costs only the DTS; our own files must be whole.
    auto badDts = both;
    badDts[18] &= 0xFE;
    auto pes = mpeg::ParsePesPacket(badDts.data(), badDts.size());
    ASSERT_TRUE(pes);
    EXPECT_TRUE(pes->hasPts);
    EXPECT_FALSE(pes->hasDts);
    std::string error;
    EXPECT_FALSE(mpeg::ParseMpeg2PesPacket(badDts.data(), badDts.size(), &error));
    EXPECT_FALSE(error.empty());
}

TEST(PesPacket, UnboundedLengthIsOnlyForVideoAndTakesTheWholeBuffer)
{
    auto video = Pes(0xE0, {9, 9, 9, 9});
    video[4] = video[5] = 0;
    auto pes = mpeg::ParsePesPacket(video.data(), video.size());
    ASSERT_TRUE(pes);
    EXPECT_EQ(pes->size, video.size());
    EXPECT_EQ(pes->payloadSize, 4u);

    auto audio = Pes(0xC0, {9, 9});
    audio[4] = audio[5] = 0;
    EXPECT_FALSE(mpeg::ParsePesPacket(audio.data(), audio.size()));
}

TEST(PesPacket, RefusesWhatRunsPastTheBufferOrIsNotAPesPacket)
{
    const auto good = Pes(0xE0, {1, 2, 3, 4, 5});
    for (size_t size = 0; size < good.size(); ++size)
        EXPECT_FALSE(mpeg::ParsePesPacket(good.data(), size)) << size;

    auto headerTooLong = good;
    headerTooLong[8] = 40;  // PES_header_data_length past the packet
    EXPECT_FALSE(mpeg::ParsePesPacket(headerTooLong.data(), headerTooLong.size()));

    auto ptsFlagWithoutRoom = Pes(0xE0, {1, 2, 3, 4, 5}, false);
    ptsFlagWithoutRoom[7] = 0x80;  // says PTS, header length 0
    EXPECT_FALSE(mpeg::ParsePesPacket(ptsFlagWithoutRoom.data(), ptsFlagWithoutRoom.size()));

    auto badMarker = good;
    badMarker[13] &= 0xFE;
    EXPECT_FALSE(mpeg::ParsePesPacket(badMarker.data(), badMarker.size()));

    auto notPes = good;
    notPes[3] = 0xBC;  // the map is no PES packet
    EXPECT_FALSE(mpeg::ParsePesPacket(notPes.data(), notPes.size()));
    notPes[3] = 0x65;  // an elementary start code
    EXPECT_FALSE(mpeg::ParsePesPacket(notPes.data(), notPes.size()));
}

// What a recorder may send but our own writer never makes is refused, with a
// reason, by the strict form only; real damage is refused by both.
TEST(PesPacket, TheStrictFormRefusesOtherSyntaxAndBothRefuseDamage)
{
    const auto good = Pes(0xE0, {0, 0, 0, 1, 0x67, 0x42}, true, 3600);
    struct Case {
        size_t index;
        uint8_t value;
        bool recorderForm;
    };
    const Case cases[] = {
        {2, 2, false},                              // no start code
        {3, 0xB3, false},                           // a sequence header start code
        {5, 0, true},                               // unbounded length (with byte 4)
        {6, 0x0F, true},                            // the MPEG-1 form without a stamp
        {9, uint8_t((good[9] & 0x0F) | 0x30), true}, // PTS field says PTS and DTS
        {8, 200, false},                            // header longer than the packet
        {7, 0x40, false},                           // DTS without PTS
        {8, 2, false},                              // a time stamp cut short
        {11, uint8_t(good[11] & 0xFE), false},      // a bad marker bit
    };
    for (const Case& c : cases) {
        auto bad = good;
        bad[c.index] = c.value;
        if (c.index == 5)
            bad[4] = 0;
        std::string error;
        EXPECT_FALSE(mpeg::ParseMpeg2PesPacket(bad.data(), bad.size(), &error)) << c.index;
        EXPECT_FALSE(error.empty()) << c.index;
        EXPECT_EQ(bool(mpeg::ParsePesPacket(bad.data(), bad.size())), c.recorderForm) << c.index;
    }
    const std::vector<uint8_t> headerPastPacket = {0, 0, 1, 0xC0, 0, 2, 0x80, 0x00};
    EXPECT_FALSE(mpeg::ParseMpeg2PesPacket(headerPastPacket.data(), headerPastPacket.size(), nullptr));
    EXPECT_FALSE(mpeg::ParsePesPacket(headerPastPacket.data(), headerPastPacket.size()));
}

} // namespace
