#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "core/media/PesPacketizer.h"
#include "core/mpeg/PesPacket.h"

namespace {

std::vector<uint8_t> Bytes(size_t size)
{
    std::vector<uint8_t> data(size);
    std::iota(data.begin(), data.end(), uint8_t{7});
    return data;
}

mpeg::PesPacket Parse(const std::vector<uint8_t>& packet)
{
    std::string error;
    const auto pes = mpeg::ParseMpeg2PesPacket(packet.data(), packet.size(), &error);
    EXPECT_TRUE(pes) << error;
    return pes.value_or(mpeg::PesPacket{});
}

TEST(PesPacketizer, HeaderBytesFollowTheStandardLayout)
{
    const std::vector<uint8_t> payload = {0xAA, 0xBB};
    const auto packets = media::PacketizeAccessUnit(0xE3, 0x123456789ull, payload.data(), payload.size());
    ASSERT_EQ(packets.size(), 1u);
    // Start code, stream id, length 3 + 5 + 2, '10' + data alignment, PTS only,
    // 5 header bytes, PTS '0010' [32..30] 1 [29..15] 1 [14..0] 1, payload.
    const std::vector<uint8_t> expected = {0x00, 0x00, 0x01, 0xE3, 0x00, 0x0A, 0x84, 0x80, 0x05,
                                           0x29, 0x8D, 0x15, 0xCF, 0x13, 0xAA, 0xBB};
    EXPECT_EQ(packets[0], expected);
}

TEST(PesPacketizer, TimeStampsSurviveTheRoundTripAndWrapAt33Bits)
{
    const auto payload = Bytes(10);
    for (uint64_t pts : {0ull, 1ull, 90000ull, 0xFFFFFFFFull, 0x100000000ull, 0x1FFFFFFFFull}) {
        const auto packets = media::PacketizeAccessUnit(0xC0, pts, payload.data(), payload.size());
        const auto view = Parse(packets.at(0));
        EXPECT_TRUE(view.hasPts);
        EXPECT_EQ(view.pts, pts);
        EXPECT_FALSE(view.hasDts);
    }
    const auto wrapped = media::PacketizeAccessUnit(0xC0, 0x200000005ull, payload.data(), payload.size());
    EXPECT_EQ(Parse(wrapped.at(0)).pts, 5u);
    EXPECT_EQ(media::MillisecondsToPts(40), 3600u);
}

TEST(PesPacketizer, LengthFieldCountsTheBytesAfterIt)
{
    for (size_t size : {size_t{0}, size_t{1}, size_t{320}, size_t{40000}, media::kMaxPesPayloadWithPts}) {
        const auto payload = Bytes(size);
        const auto packets = media::PacketizeAccessUnit(0xE0, 0, payload.data(), payload.size());
        ASSERT_EQ(packets.size(), 1u) << size;
        const auto& packet = packets[0];
        EXPECT_EQ((size_t{packet[4]} << 8 | packet[5]) + 6, packet.size());
        const auto view = Parse(packet);
        EXPECT_EQ(view.streamId, 0xE0);
        EXPECT_TRUE(view.dataAlignment);
        EXPECT_EQ(std::vector<uint8_t>(view.payload, view.payload + view.payloadSize), payload);
    }
}

TEST(PesPacketizer, LargeUnitContinuesInPacketsWithoutTimeStamp)
{
    const auto payload = Bytes(media::kMaxPesPayloadWithPts + 2 * media::kMaxPesPayloadWithoutPts + 5);
    const auto packets = media::PacketizeAccessUnit(0xE5, 1234, payload.data(), payload.size());
    ASSERT_EQ(packets.size(), 4u);
    std::vector<uint8_t> joined;
    for (size_t i = 0; i < packets.size(); ++i) {
        ASSERT_LE(packets[i].size(), 6u + 0xFFFF);
        const auto view = Parse(packets[i]);
        EXPECT_EQ(view.streamId, 0xE5);
        EXPECT_EQ(view.size, packets[i].size());
        EXPECT_EQ(view.hasPts, i == 0);
        EXPECT_EQ(view.dataAlignment, i == 0);
        joined.insert(joined.end(), view.payload, view.payload + view.payloadSize);
    }
    EXPECT_EQ(joined, payload);
}

TEST(PesPacketizer, RewritingThePtsKeepsEverythingElse)
{
    const auto payload = Bytes(100);
    auto packet = media::PacketizeAccessUnit(0xE1, 500, payload.data(), payload.size()).at(0);
    const auto before = packet;
    ASSERT_TRUE(media::RewritePesPts(packet.data(), packet.size(), 0x1ABCDEF01ull));
    const auto view = Parse(packet);
    EXPECT_EQ(view.pts, 0x1ABCDEF01ull);
    EXPECT_EQ(std::vector<uint8_t>(packet.begin(), packet.begin() + 9), std::vector<uint8_t>(before.begin(), before.begin() + 9));
    EXPECT_EQ(std::vector<uint8_t>(packet.begin() + 14, packet.end()), std::vector<uint8_t>(before.begin() + 14, before.end()));

    const auto big = Bytes(media::kMaxPesPayloadWithPts + 1);
    auto continuation = media::PacketizeAccessUnit(0xE1, 0, big.data(), big.size()).at(1);
    const auto unchanged = continuation;
    EXPECT_FALSE(media::RewritePesPts(continuation.data(), continuation.size(), 99));
    EXPECT_EQ(continuation, unchanged);
    EXPECT_FALSE(media::RewritePesPts(packet.data(), 10, 99));
}

}  // namespace
