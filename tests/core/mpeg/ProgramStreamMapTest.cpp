#include "core/mpeg/Crc32Mpeg.h"
#include "core/mpeg/ProgramStreamMap.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

struct MapInput {
    std::array<uint8_t, 32> types{};
    std::array<int, 32> widths{};
    std::array<int, 32> heights{};
    std::array<uint8_t, 32> ids{};
};

// The arrays the client builds: 16 H.264 video streams, 16 mu-law audio streams.
MapInput ClientMap()
{
    MapInput in;
    for (int i = 0; i < 32; ++i) {
        in.types[i] = i < 16 ? 0x84 : 0x91;
        in.ids[i] = uint8_t(i < 16 ? 0xE0 + i : 0xC0 + (i - 16));
        in.widths[i] = 720;
        in.heights[i] = 576;
    }
    return in;
}

std::array<uint8_t, 276> Write(const MapInput& in)
{
    std::array<uint8_t, 276> map{};
    mpeg::WriteProgramStreamMap(map.data(), in.types.data(), in.widths.data(), in.heights.data(), in.ids.data());
    return map;
}

void FixCrc(std::vector<uint8_t>& map)
{
    const uint32_t crc = mpeg::Crc32Mpeg(map.data(), map.size() - 4);
    map[map.size() - 4] = uint8_t(crc >> 24);
    map[map.size() - 3] = uint8_t(crc >> 16);
    map[map.size() - 2] = uint8_t(crc >> 8);
    map[map.size() - 1] = uint8_t(crc);
}

TEST(ProgramStreamMap, ClientMapIs276BytesWithConsistentLengthsAndCrc)
{
    const auto map = Write(ClientMap());
    EXPECT_EQ(map[0], 0x00);
    EXPECT_EQ(map[1], 0x00);
    EXPECT_EQ(map[2], 0x01);
    EXPECT_EQ(map[3], 0xBC);
    EXPECT_EQ((map[4] << 8) | map[5], 270);        // program_stream_map_length
    EXPECT_EQ(map[6] & 0x80, 0x80);                // current_next_indicator
    EXPECT_EQ(map[7] & 0x01, 0x01);                // marker bit
    const int infoLength = (map[8] << 8) | map[9];
    const int esMapLength = (map[10 + infoLength] << 8) | map[11 + infoLength];
    EXPECT_EQ(10 + infoLength + 2 + esMapLength + 4, 276);
    EXPECT_EQ(mpeg::Crc32Mpeg(map.data(), map.size()), 0u);
}

TEST(ProgramStreamMap, EveryEntryReadsBackWithItsSizeInWholeUnits)
{
    MapInput in = ClientMap();
    in.widths[3] = 1920;
    in.heights[3] = 1080;
    in.widths[4] = 705;    // rounds up to 720
    in.heights[4] = -5;    // nonsense counts as unknown
    in.widths[5] = 100000; // limited to 255 units
    in.types[17] = 0x1B;
    const auto map = Write(in);
    auto parsed = mpeg::ParseProgramStreamMap(map.data(), map.size());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->size, 276u);
    ASSERT_EQ(parsed->entries.size(), 32u);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(parsed->entries[i].streamType, in.types[i]) << i;
        EXPECT_EQ(parsed->entries[i].streamId, in.ids[i]) << i;
    }
    EXPECT_EQ(parsed->entries[0].maxWidth, 720);
    EXPECT_EQ(parsed->entries[0].maxHeight, 576);
    EXPECT_EQ(parsed->entries[3].maxWidth, 1920);
    EXPECT_EQ(parsed->entries[3].maxHeight, 1088);
    EXPECT_EQ(parsed->entries[4].maxWidth, 720);
    EXPECT_EQ(parsed->entries[4].maxHeight, 0);
    EXPECT_EQ(parsed->entries[5].maxWidth, 255 * 16);
}

TEST(ProgramStreamMap, AnyChangedByteFailsTheCrc)
{
    const auto map = Write(ClientMap());
    for (size_t i = 4; i < map.size(); ++i) {
        auto damaged = map;
        damaged[i] ^= 0x10;
        EXPECT_FALSE(mpeg::ParseProgramStreamMap(damaged.data(), damaged.size())) << i;
    }
}

TEST(ProgramStreamMap, ReadsAForeignMapWithOtherDescriptors)
{
    // Two streams: MPEG-4 video with a data-alignment descriptor, MPEG audio without descriptors.
    std::vector<uint8_t> map = {0x00, 0x00, 0x01, 0xBC, 0x00, 0x00, 0xE1, 0xFF, 0x00, 0x03, 0x0E, 0x01, 0x00,
                                0x00, 0x0B, 0x10, 0xE0, 0x00, 0x03, 0x06, 0x01, 0x02, 0x03, 0xC0, 0x00, 0x00,
                                0, 0, 0, 0};
    map[5] = uint8_t(map.size() - 6);
    FixCrc(map);
    auto parsed = mpeg::ParseProgramStreamMap(map.data(), map.size());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->version, 1);
    ASSERT_EQ(parsed->entries.size(), 2u);
    EXPECT_EQ(parsed->entries[0].streamType, 0x10);
    EXPECT_EQ(parsed->entries[0].streamId, 0xE0);
    EXPECT_EQ(parsed->entries[0].maxWidth, 0);
    EXPECT_EQ(parsed->entries[1].streamType, 0x03);
    EXPECT_EQ(parsed->entries[1].streamId, 0xC0);
}

TEST(ProgramStreamMap, TruncatedMislabelledOrDisagreeingBytesAreRefusedEvenWithAGoodCrc)
{
    const auto good = Write(ClientMap());
    for (size_t size = 0; size < good.size(); size += 7)
        EXPECT_FALSE(mpeg::ParseProgramStreamMap(good.data(), size)) << size;
    // The stream id, a map length shorter than the fixed fields and the CRC, an elementary
    // stream map length one too long, an info length past the end, the last entry's info
    // length past the end.
    const std::vector<std::vector<std::pair<size_t, uint8_t>>> damages = {
        {{3, 0xBD}}, {{4, 0}, {5, 4}}, {{15, uint8_t(good[15] + 1)}}, {{8, 0x7F}}, {{16 + 31 * 8 + 3, 0x20}}};
    for (const auto& damage : damages) {
        std::vector<uint8_t> map(good.begin(), good.end());
        for (const auto& [index, value] : damage)
            map[index] = value;
        FixCrc(map);
        EXPECT_FALSE(mpeg::ParseProgramStreamMap(map.data(), map.size())) << damage[0].first;
    }
}

} // namespace
