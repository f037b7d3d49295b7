#include "core/mpeg/Crc32Mpeg.h"
#include "core/mpeg/PackHeader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

namespace {

TEST(Crc32Mpeg, MatchesTheCatalogueCheckValueAndVanishesOverItsOwnCrc)
{
    const std::string text = "123456789";
    const uint32_t crc = mpeg::Crc32Mpeg(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    EXPECT_EQ(crc, 0x0376E6E7u);

    std::array<uint8_t, 13> withCrc{};
    std::memcpy(withCrc.data(), text.data(), 9);
    withCrc[9] = uint8_t(crc >> 24);
    withCrc[10] = uint8_t(crc >> 16);
    withCrc[11] = uint8_t(crc >> 8);
    withCrc[12] = uint8_t(crc);
    EXPECT_EQ(mpeg::Crc32Mpeg(withCrc.data(), withCrc.size()), 0u);
}

TEST(PackHeader, DefaultHeaderIsAnMpeg2PackWithTwoStuffingBytes)
{
    std::array<uint8_t, 16> header{};
    mpeg::WritePackHeader(header.data());
    const std::array<uint8_t, 16> expected = {0x00, 0x00, 0x01, 0xBA, 0x44, 0x00, 0x04, 0x00,
                                              0x04, 0x01, 0x03, 0x0D, 0x43, 0xFA, 0xFF, 0xFF};
    EXPECT_EQ(header, expected);

    auto info = mpeg::ParsePackHeader(header.data(), header.size());
    ASSERT_TRUE(info);
    EXPECT_FALSE(info->mpeg1);
    EXPECT_EQ(info->size, 16u);
    EXPECT_EQ(info->scrBase, 0u);
    EXPECT_EQ(info->muxRate, mpeg::kDefaultMuxRate);
}

TEST(PackHeader, ClockAndRateSurviveARoundTripInEveryBit)
{
    for (uint64_t scr : {uint64_t{1}, uint64_t{0x1FFFFFFFF}, uint64_t{0x123456789}, uint64_t{0x0AAAAAAAA}}) {
        for (uint32_t rate : {1u, 0x3FFFFFu, 0x2AAAAAu}) {
            std::array<uint8_t, 16> header{};
            mpeg::WritePackHeader(header.data(), scr, rate);
            auto info = mpeg::ParsePackHeader(header.data(), header.size());
            ASSERT_TRUE(info) << scr << " " << rate;
            EXPECT_EQ(info->scrBase, scr);
            EXPECT_EQ(info->muxRate, rate);
        }
    }
}

TEST(PackHeader, ReadsTheMpeg1Form)
{
    // SCR 0x100000003, mux rate 0x48D1, every marker bit set.
    const std::array<uint8_t, 12> header = {0x00, 0x00, 0x01, 0xBA, 0x29, 0x00, 0x01, 0x00, 0x07, 0x80, 0x91, 0xA3};
    auto info = mpeg::ParsePackHeader(header.data(), header.size());
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->mpeg1);
    EXPECT_EQ(info->size, 12u);
    EXPECT_EQ(info->scrBase, 0x100000003u);
    EXPECT_EQ(info->muxRate, 0x48D1u);
}

TEST(PackHeader, RefusesBrokenMarkersWrongCodesAndShortBuffers)
{
    std::array<uint8_t, 16> header{};
    mpeg::WritePackHeader(header.data());

    // SCR marker, mux rate marker, start code, neither '01' nor '0010'.
    const std::pair<size_t, uint8_t> damages[] = {{6, header[6] & ~0x04}, {12, header[12] & ~0x01}, {3, 0xBB}, {4, 0x84}};
    for (const auto& [index, value] : damages) {
        auto broken = header;
        broken[index] = value;
        EXPECT_FALSE(mpeg::ParsePackHeader(broken.data(), broken.size())) << index;
    }

    for (size_t size = 0; size < header.size(); ++size)
        EXPECT_FALSE(mpeg::ParsePackHeader(header.data(), size)) << size;
    EXPECT_FALSE(mpeg::ParsePackHeader(nullptr, 0));
}

TEST(PackHeader, StuffingLengthBeyondTheBufferIsRefused)
{
    std::array<uint8_t, 21> header{};
    mpeg::WritePackHeader(header.data());
    header[13] = 0xFF;  // seven stuffing bytes: 21 in all
    header[16] = header[17] = header[18] = header[19] = header[20] = 0xFF;
    EXPECT_EQ(mpeg::ParsePackHeader(header.data(), 21)->size, 21u);
    EXPECT_FALSE(mpeg::ParsePackHeader(header.data(), 20));
}

} // namespace
