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

    Refusal(std::vector<uint8_t>(good.begin(), good.end() - 1));
    // No start code, a video sequence header start code, unbounded length, the MPEG-1 form,
    // a header longer than the packet, DTS without PTS, a time stamp cut short, a bad marker.
    const std::pair<size_t, uint8_t> damages[] = {{2, 2},   {3, 0xB3}, {5, 0},  {6, 0x0F},
                                                  {8, 200}, {7, 0x40}, {8, 2},  {11, uint8_t(good[11] & 0xFE)}};
    for (const auto& [index, value] : damages) {
        auto bad = good;
        bad[index] = value;
        if (index == 5)
            bad[4] = 0;
        Refusal(bad);
    }
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
