#include <gtest/gtest.h>

#include <vector>

#include "core/media/PesPacketizer.h"
#include "core/media/PesParser.h"

namespace {

std::vector<uint8_t> VideoPacket()
{
    const std::vector<uint8_t> payload = {0, 0, 0, 1, 0x67, 0x42};
    return media::PacketizeAccessUnit(0xE0, 3600, payload.data(), payload.size()).at(0);
}

std::string Refusal(const std::vector<uint8_t>& bytes)
{
    media::PesPacketView view;
    std::string error;
    EXPECT_FALSE(media::ParsePesPacket(bytes.data(), bytes.size(), &view, &error));
    EXPECT_FALSE(error.empty());
    return error;
}

TEST(PesParser, RefusesBrokenPackets)
{
    const auto good = VideoPacket();
    Refusal({0, 0, 1, 0xE0, 0});

    auto noStartCode = good;
    noStartCode[2] = 2;
    Refusal(noStartCode);

    auto notPes = good;
    notPes[3] = 0xB3;  // a video sequence header start code
    Refusal(notPes);

    auto unbounded = good;
    unbounded[4] = unbounded[5] = 0;
    Refusal(unbounded);

    Refusal(std::vector<uint8_t>(good.begin(), good.end() - 1));

    auto mpeg1 = good;
    mpeg1[6] = 0x0F;
    Refusal(mpeg1);

    auto longHeader = good;
    longHeader[8] = 200;
    Refusal(longHeader);

    auto dtsOnly = good;
    dtsOnly[7] = 0x40;
    Refusal(dtsOnly);

    auto shortStamp = good;
    shortStamp[8] = 2;
    Refusal(shortStamp);

    auto badMarker = good;
    badMarker[11] &= 0xFE;
    Refusal(badMarker);

    auto headerPastPacket = std::vector<uint8_t>{0, 0, 1, 0xC0, 0, 2, 0x80, 0x00};
    Refusal(headerPastPacket);
}

TEST(PesParser, LeavesBytesAfterThePacketAlone)
{
    auto bytes = VideoPacket();
    const size_t size = bytes.size();
    bytes.insert(bytes.end(), {0, 0, 1, 0xC0});
    media::PesPacketView view;
    std::string error;
    ASSERT_TRUE(media::ParsePesPacket(bytes.data(), bytes.size(), &view, &error)) << error;
    EXPECT_EQ(view.packetSize, size);
    EXPECT_EQ(view.payloadSize, 6u);
    EXPECT_EQ(view.pts, 3600u);
}

TEST(PesParser, ReadsPtsAndDtsAndStreamsWithoutOptionalHeader)
{
    // PTS 1 and DTS 2 with their '0011' and '0001' prefixes.
    const std::vector<uint8_t> both = {0, 0, 1, 0xE2, 0, 15, 0x80, 0xC0, 10, 0x31, 0, 1, 0, 3,
                                       0x11, 0, 1, 0, 5, 0xAB, 0xCD};
    media::PesPacketView view;
    std::string error;
    ASSERT_TRUE(media::ParsePesPacket(both.data(), both.size(), &view, &error)) << error;
    EXPECT_EQ(view.pts, 1u);
    EXPECT_TRUE(view.hasDts);
    EXPECT_EQ(view.dts, 2u);
    EXPECT_EQ(view.payloadSize, 2u);

    const std::vector<uint8_t> padding = {0, 0, 1, 0xBE, 0, 3, 0xFF, 0xFF, 0xFF};
    ASSERT_TRUE(media::ParsePesPacket(padding.data(), padding.size(), &view, &error)) << error;
    EXPECT_FALSE(view.hasPts);
    EXPECT_EQ(view.payloadSize, 3u);
    EXPECT_EQ(view.payload, padding.data() + 6);
}

}  // namespace
