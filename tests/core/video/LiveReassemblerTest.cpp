#include "core/video/LiveReassembler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using Stream = LiveReassembler::Stream;

std::vector<unsigned char> Packet(int count, int index, std::vector<unsigned char> payload)
{
    std::vector<unsigned char> p(2 + payload.size());
    p[0] = static_cast<unsigned char>(count);
    p[1] = static_cast<unsigned char>(index);
    std::copy(payload.begin(), payload.end(), p.begin() + 2);
    return p;
}

std::optional<LiveReassembler::Unit> Feed(LiveReassembler& r, Stream s, const std::vector<unsigned char>& p)
{
    return r.Add(s, p.data(), p.size());
}

std::vector<unsigned char> Bytes(const LiveReassembler::Unit& u)
{
    return std::vector<unsigned char>(u.data, u.data + u.length);
}

const std::vector<unsigned char> kPes{0x00, 0x00, 0x01, 0xE2, 0x00, 0x02, 0xAA, 0xBB};

TEST(LiveReassembler, UnitsOfOneOrMoreFragmentsAreHandedOnWhole)
{
    LiveReassembler r;
    auto single = Feed(r, Stream::Video, Packet(1, 0, kPes));
    ASSERT_TRUE(single);
    EXPECT_EQ(Bytes(*single), kPes);
    EXPECT_EQ(r.FillLength(Stream::Video), 0u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(single->data) % 4096, 0u);

    EXPECT_FALSE(Feed(r, Stream::Video, Packet(3, 0, {0x00, 0x00, 0x01})));
    EXPECT_FALSE(Feed(r, Stream::Video, Packet(3, 1, {0xE0, 0x00})));
    EXPECT_EQ(r.FillLength(Stream::Video), 5u);
    auto unit = Feed(r, Stream::Video, Packet(3, 2, {0x01, 0x77}));
    ASSERT_TRUE(unit);
    EXPECT_EQ(Bytes(*unit), (std::vector<unsigned char>{0x00, 0x00, 0x01, 0xE0, 0x00, 0x01, 0x77}));
    EXPECT_EQ(r.GetCounters().units, 2u);
}

TEST(LiveReassembler, MissingFragmentDropsTheUnitAndResumesAtTheNextStart)
{
    LiveReassembler r;
    EXPECT_FALSE(Feed(r, Stream::Video, Packet(4, 0, {0x00, 0x00})));
    EXPECT_FALSE(Feed(r, Stream::Video, Packet(4, 1, {0x01, 0xE0})));
    EXPECT_FALSE(Feed(r, Stream::Video, Packet(4, 3, {0x99})));  // 2 is missing
    EXPECT_EQ(r.FillLength(Stream::Video), 0u);
    EXPECT_EQ(r.GetCounters().outOfSequence, 1u);
    // A stray middle fragment of the broken unit is dropped too.
    EXPECT_FALSE(Feed(r, Stream::Video, Packet(4, 2, {0x55})));
    auto unit = Feed(r, Stream::Video, Packet(1, 0, kPes));
    ASSERT_TRUE(unit);
    EXPECT_EQ(Bytes(*unit), kPes);
}

TEST(LiveReassembler, UnitOutgrowingTheBufferIsDroppedAndCounted)
{
    LiveReassembler r;
    const std::size_t chunk = 60000;
    std::vector<unsigned char> payload(chunk, 0x5A);
    payload[0] = 0;
    payload[1] = 0;
    payload[2] = 1;
    payload[3] = 0xE0;
    const int fragments = static_cast<int>(LiveReassembler::kVideoBufferBytes / chunk) + 2;  // 19 fragments
    for (int i = 0; i < fragments; ++i)
        EXPECT_FALSE(Feed(r, Stream::Video, Packet(fragments, i, payload))) << i;
    EXPECT_EQ(r.GetCounters().overflowed, 1u);
    EXPECT_EQ(r.GetCounters().units, 0u);
    // A unit that fills the buffer exactly still passes.
    const int exact = static_cast<int>(LiveReassembler::kVideoBufferBytes / 64000);
    std::vector<unsigned char> big(64000, 0x11);
    big[0] = 0, big[1] = 0, big[2] = 1, big[3] = 0xE1;
    std::optional<LiveReassembler::Unit> unit;
    for (int i = 0; i < exact; ++i)
        unit = Feed(r, Stream::Video, Packet(exact, i, big));
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->length, LiveReassembler::kVideoBufferBytes);
}

TEST(LiveReassembler, VideoAndAudioInterleavedDoNotSpoilEachOther)
{
    LiveReassembler r;
    EXPECT_FALSE(Feed(r, Stream::Video, Packet(2, 0, {0x00, 0x00, 0x01, 0xE0})));
    auto audio = Feed(r, Stream::Audio, Packet(1, 0, {0x00, 0x00, 0x01, 0xC0, 0x7F}));
    ASSERT_TRUE(audio);
    EXPECT_EQ(Bytes(*audio), (std::vector<unsigned char>{0x00, 0x00, 0x01, 0xC0, 0x7F}));
    auto video = Feed(r, Stream::Video, Packet(2, 1, {0x12}));
    ASSERT_TRUE(video);
    EXPECT_EQ(Bytes(*video), (std::vector<unsigned char>{0x00, 0x00, 0x01, 0xE0, 0x12}));

    // Reset forgets partial units of both streams.
    EXPECT_FALSE(Feed(r, Stream::Video, Packet(2, 0, {0x00, 0x00, 0x01, 0xE0})));
    EXPECT_FALSE(Feed(r, Stream::Audio, Packet(2, 0, {0x00, 0x00, 0x01, 0xC0})));
    r.Reset();
    EXPECT_EQ(r.ExpectedFragment(Stream::Audio), 0);
    EXPECT_FALSE(Feed(r, Stream::Video, Packet(2, 1, {0x12})));
}

TEST(LiveReassembler, ShortPacketsAndUnitsAreRefused)
{
    LiveReassembler r;
    const unsigned char one = 1;
    EXPECT_FALSE(r.Add(Stream::Video, &one, 1));
    EXPECT_FALSE(r.Add(Stream::Video, nullptr, 10));
    EXPECT_FALSE(Feed(r, Stream::Video, Packet(1, 0, {0x00, 0x00, 0x01})));  // no stream id
    EXPECT_FALSE(Feed(r, Stream::Video, Packet(1, 0, {})));
    EXPECT_EQ(r.GetCounters().malformed, 4u);
    EXPECT_EQ(r.GetCounters().units, 0u);
    // A half-built unit is abandoned by a short packet.
    EXPECT_FALSE(Feed(r, Stream::Audio, Packet(2, 0, {0x00, 0x00, 0x01, 0xC0})));
    EXPECT_FALSE(r.Add(Stream::Audio, &one, 1));
    EXPECT_EQ(r.FillLength(Stream::Audio), 0u);
}

} // namespace
