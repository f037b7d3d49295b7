#include "MpegTestBytes.h"

#include "core/mpeg/PesPacket.h"

#include <gtest/gtest.h>

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

TEST(PesPacket, PaddingAndPrivateStream2HaveNoHeaderExtension)
{
    const std::vector<uint8_t> padding = {0x00, 0x00, 0x01, 0xBE, 0x00, 0x03, 0xFF, 0xFF, 0xFF};
    auto pes = mpeg::ParsePesPacket(padding.data(), padding.size());
    ASSERT_TRUE(pes);
    EXPECT_EQ(pes->payloadSize, 3u);
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

} // namespace
