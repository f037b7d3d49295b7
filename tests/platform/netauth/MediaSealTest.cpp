#include "platform/netauth/MediaSeal.h"

#include "core/net/FrameDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace netauth;

namespace {

constexpr std::uint32_t kToken = 0x5EED;

MediaKey Key(std::uint8_t fill)
{
    MediaKey key;
    for (std::size_t i = 0; i < key.size(); ++i)
        key[i] = static_cast<std::uint8_t>(fill + i);
    return key;
}

std::vector<std::uint8_t> Payload(std::size_t length, std::uint8_t seed)
{
    std::vector<std::uint8_t> payload(length);
    for (std::size_t i = 0; i < length; ++i)
        payload[i] = static_cast<std::uint8_t>(seed + i * 7);
    return payload;
}

class MediaSealTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sealer.SetKey(Key(1)));
        ASSERT_TRUE(opener.SetKey(Key(1)));
    }
    // The next datagram of the sealer (its counter is the number sealed before).
    std::vector<std::uint8_t> Sealed(const std::vector<std::uint8_t>& payload, std::uint8_t index = 0)
    {
        std::vector<std::uint8_t> datagram(payload.size() + wire::kSealedDatagramOverhead);
        LiveDatagramHead head;
        head.token = kToken;
        head.count = static_cast<std::uint8_t>(index + 1);
        head.index = index;
        datagram.resize(sealer.Seal(head, payload.data(), payload.size(), datagram.data()));
        return datagram;
    }
    bool Opens(const std::vector<std::uint8_t>& datagram)
    {
        return opener.Open(datagram.data(), datagram.size(), kToken, out.data()).has_value();
    }
    std::uint64_t Drops() const { return opener.Dropped().unauthentic + opener.Dropped().replayed; }

    MediaSealer sealer;
    MediaOpener opener;
    std::vector<std::uint8_t> out = std::vector<std::uint8_t>(wire::kMaxPayload);
};

}  // namespace

TEST_F(MediaSealTest, FragmentsComeBackWholeAndTravelUnreadable)
{
    EXPECT_EQ(wire::BoundsOf(wire::MessageType::LiveDatagram).min, wire::kMinSealedDatagramPayload);
    // A program-stream start in the clear payload must not be readable on the wire.
    for (std::size_t length : {std::size_t{1}, std::size_t{17}, wire::kLiveFragmentPayload,
                               wire::kMaxPayload - wire::kMinSealedDatagramPayload + 1}) {
        std::vector<std::uint8_t> payload = Payload(length, static_cast<std::uint8_t>(length));
        const std::uint8_t start[] = {0x00, 0x00, 0x01, 0xBA};
        std::copy(start, start + std::min(length, sizeof start), payload.begin());
        const auto datagram = Sealed(payload, 3);
        ASSERT_EQ(datagram.size(), length + wire::kSealedDatagramOverhead) << length;
        wire::FrameView frame;
        ASSERT_EQ(wire::DecodeDatagram(datagram.data(), datagram.size(), wire::Direction::ToClient, frame),
                  wire::DecodeError::None);
        if (length >= sizeof start) {
            EXPECT_EQ(std::search(datagram.begin(), datagram.end(), start, start + sizeof start), datagram.end());
        }

        const auto fragment = opener.Open(datagram.data(), datagram.size(), kToken, out.data());
        ASSERT_TRUE(fragment) << length;
        EXPECT_EQ(fragment->packetType, wire::kPacketVideo);
        EXPECT_EQ(fragment->count, 4);
        EXPECT_EQ(fragment->index, 3);
        EXPECT_EQ(fragment->packet, out.data() + 1);
        EXPECT_EQ(std::vector<std::uint8_t>(fragment->Payload(), fragment->Payload() + fragment->PayloadLength()),
                  payload);
    }
    EXPECT_EQ(Drops(), 0u);
}

TEST_F(MediaSealTest, EveryFlippedBitIsRefusedCountedAndLeavesTheWindowAlone)
{
    const auto datagram = Sealed(Payload(20, 9));
    // Header, token, counter, sealed bytes and tag alike.
    for (std::size_t bit = 0; bit < datagram.size() * 8; ++bit) {
        auto forged = datagram;
        forged[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
        EXPECT_FALSE(Opens(forged)) << "bit " << bit;
        EXPECT_EQ(Drops(), bit + 1) << "bit " << bit;
    }
    EXPECT_EQ(opener.Dropped().replayed, 0u);
    EXPECT_TRUE(Opens(datagram)) << "a forged counter moved the window";
}

TEST_F(MediaSealTest, WhatIsNotThisSessionsAuthenticMediaIsDroppedAsUnauthentic)
{
    const auto datagram = Sealed(Payload(40, 1));
    MediaOpener keyless;
    EXPECT_FALSE(keyless.Open(datagram.data(), datagram.size(), kToken, out.data()));
    EXPECT_EQ(keyless.Dropped().unauthentic, 1u);

    MediaOpener otherKey;
    ASSERT_TRUE(otherKey.SetKey(Key(2)));
    EXPECT_FALSE(otherKey.Open(datagram.data(), datagram.size(), kToken, out.data()));
    EXPECT_EQ(otherKey.Dropped().unauthentic, 1u);

    EXPECT_FALSE(opener.Open(datagram.data(), datagram.size(), kToken + 1, out.data()));
    EXPECT_FALSE(opener.Open(datagram.data(), datagram.size(), 0, out.data())) << "before the log-in";
    EXPECT_FALSE(opener.Open(datagram.data(), datagram.size() - 1, kToken, out.data()));
    EXPECT_FALSE(opener.Open(datagram.data(), 10, kToken, out.data()));
    EXPECT_EQ(opener.Dropped().unauthentic, 4u);
    EXPECT_TRUE(Opens(datagram));

    // One key for life: a key in use cannot be swapped to restart counters or the window.
    EXPECT_TRUE(opener.SetKey(Key(1)));
    EXPECT_FALSE(opener.SetKey(Key(2)));
    EXPECT_FALSE(sealer.SetKey(Key(2)));
}

TEST_F(MediaSealTest, RepeatsAndTooOldCountersAreReplaysReorderingInsideTheWindowIsNot)
{
    std::vector<std::vector<std::uint8_t>> sent;
    for (int i = 0; i < 4000; ++i)
        sent.push_back(Sealed(Payload(8, static_cast<std::uint8_t>(i))));

    // Late arrivals within the window are taken, in any order.
    std::vector<std::size_t> order(2000);
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::mt19937 shuffle(7);
    for (std::size_t block = 0; block < order.size(); block += 500)
        std::shuffle(order.begin() + block, order.begin() + block + 500, shuffle);
    for (std::size_t i : order)
        EXPECT_TRUE(Opens(sent[i])) << i;
    EXPECT_EQ(Drops(), 0u);

    EXPECT_FALSE(Opens(sent[1999]));
    EXPECT_FALSE(Opens(sent[1000]));
    EXPECT_EQ(opener.Dropped().replayed, 2u);

    // Steps up free the slots of the counters they skip, whose slots earlier
    // counters had taken.
    ASSERT_TRUE(Opens(sent[2500]));
    EXPECT_TRUE(Opens(sent[2100]));
    EXPECT_TRUE(Opens(sent[2499]));
    EXPECT_FALSE(Opens(sent[2500 - 1024])) << "below the window";
    ASSERT_TRUE(Opens(sent[3999]));
    EXPECT_TRUE(Opens(sent[3999 - 1023]));
    EXPECT_FALSE(Opens(sent[3999 - 1024])) << "below the window";
    EXPECT_FALSE(Opens(sent[3999]));
    EXPECT_EQ(opener.Dropped().replayed, 5u);
    EXPECT_EQ(opener.Dropped().unauthentic, 0u);
}

TEST_F(MediaSealTest, ASealerRefusesOnceItsCountersAreSpentInsteadOfReusingOne)
{
    MediaSealer last(3);
    const auto payload = Payload(10, 0);
    std::vector<std::uint8_t> datagram(payload.size() + wire::kSealedDatagramOverhead);
    EXPECT_EQ(last.Seal({}, payload.data(), payload.size(), datagram.data()), 0u) << "no key yet";
    ASSERT_TRUE(last.SetKey(Key(1)));
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(last.Seal({.token = kToken}, payload.data(), payload.size(), datagram.data()), datagram.size());
        EXPECT_TRUE(Opens(datagram)) << i;
        EXPECT_TRUE(last.SetKey(Key(1))) << "the same key again keeps counting";
    }
    EXPECT_EQ(last.Seal({.token = kToken}, payload.data(), payload.size(), datagram.data()), 0u);
    EXPECT_EQ(Drops(), 0u);

    // A payload no frame can hold is refused, not cut.
    const auto huge = Payload(wire::kMaxPayload, 0);
    std::vector<std::uint8_t> room(huge.size() + wire::kSealedDatagramOverhead);
    EXPECT_EQ(sealer.Seal({}, huge.data(), huge.size(), room.data()), 0u);
}
