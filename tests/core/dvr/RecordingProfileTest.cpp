#include <gtest/gtest.h>

#include "core/dvr/CivilDate.h"
#include "core/dvr/RecordingProfile.h"

TEST(MonthMask, DayBitsAndWireForm)
{
    const std::vector<int> days = {1, 2, 15, 31, 0, 32, -4};
    const std::uint32_t mask = MonthMaskFromDays(days);
    EXPECT_EQ(mask, (1u << 0) | (1u << 1) | (1u << 14) | (1u << 30));
    EXPECT_TRUE(MonthMaskHasDay(mask, 31));
    EXPECT_FALSE(MonthMaskHasDay(mask, 30));
    EXPECT_FALSE(MonthMaskHasDay(0xFFFFFFFFu, 32)) << "bit 31 names no day";
    EXPECT_FALSE(MonthMaskHasDay(0xFFFFFFFFu, 0));
    EXPECT_EQ(MonthMaskDays(mask), (std::vector<int>{1, 2, 15, 31}));
    EXPECT_EQ(MonthMaskDays(mask, 30), (std::vector<int>{1, 2, 15})) << "day 31 of a 30-day month";
    EXPECT_EQ(MonthMaskDays(0xFFFFFFFFu).size(), 31u);

    const auto bytes = EncodeMonthMask(0x40000102u);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{0x02, 0x01, 0x00, 0x40}));
    EXPECT_EQ(DecodeMonthMask(bytes.data(), 4), 0x40000102u);
    EXPECT_FALSE(DecodeMonthMask(bytes.data(), 3));
    EXPECT_FALSE(DecodeMonthMask(bytes.data(), 5));
    EXPECT_FALSE(DecodeMonthMask(nullptr, 4));
}

TEST(DailyProfile, RoundTripsAndHasTheStatedLayout)
{
    DailyProfile profile;
    profile.date = {2026, 2, 28};
    profile.channelCount = 4;
    for (int c = 0; c < 4; ++c)
        for (int h = 0; h < 24; ++h)
            profile.hourMode[c][h] = static_cast<std::uint8_t>((c + h) % 5);
    const std::vector<std::uint8_t> bytes = EncodeDailyProfile(profile);
    ASSERT_EQ(bytes.size(), 8u + 4 * 24);
    EXPECT_EQ(bytes[0], 'D');
    EXPECT_EQ(bytes[1], 'P');
    EXPECT_EQ(bytes[2], 1);
    EXPECT_EQ(bytes[3], 4);
    EXPECT_EQ(bytes[4] | bytes[5] << 8, 2026);
    EXPECT_EQ(bytes[6], 2);
    EXPECT_EQ(bytes[7], 28);
    EXPECT_EQ(bytes[8 + 24 * 3 + 23], (3 + 23) % 5);
    std::string error;
    const auto back = DecodeDailyProfile(bytes.data(), bytes.size(), &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(*back, profile);
}

TEST(DailyProfile, RefusesDamagedInput)
{
    DailyProfile profile;
    profile.date = {2026, 1, 31};
    profile.channelCount = 16;
    const std::vector<std::uint8_t> good = EncodeDailyProfile(profile);
    const auto refused = [](const std::vector<std::uint8_t>& bytes) {
        std::string error;
        const bool ok = DecodeDailyProfile(bytes.data(), bytes.size(), &error).has_value();
        EXPECT_TRUE(ok || !error.empty());
        return !ok;
    };
    EXPECT_FALSE(refused(good));
    EXPECT_TRUE(refused({}));
    EXPECT_TRUE(refused(std::vector<std::uint8_t>(good.begin(), good.begin() + 7)));
    EXPECT_TRUE(refused(std::vector<std::uint8_t>(good.begin(), good.end() - 1)));
    auto longer = good;
    longer.push_back(0);
    EXPECT_TRUE(refused(longer));
    // Bad magic, version, channel counts 0 and 17, day 32, 30 February, a mode beyond the known ones.
    const std::vector<std::vector<std::pair<std::size_t, std::uint8_t>>> damages = {
        {{0, 'X'}}, {{2, 2}}, {{3, 0}}, {{3, 17}}, {{7, 32}}, {{6, 2}, {7, 30}}, {{good.size() - 1, 5}}};
    for (const auto& damage : damages) {
        auto bad = good;
        for (const auto& [index, value] : damage)
            bad[index] = value;
        EXPECT_TRUE(refused(bad)) << "byte " << damage[0].first;
    }
    EXPECT_FALSE(DecodeDailyProfile(nullptr, 100));
}

TEST(TransferBlocks, SplitAWholeIntoNumberedBlocks)
{
    std::vector<std::uint8_t> whole(1000);
    for (std::size_t i = 0; i < whole.size(); ++i)
        whole[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(TransferBlockCount(1000, 512), 2u);
    EXPECT_EQ(TransferBlockCount(1024, 512), 2u);
    EXPECT_EQ(TransferBlockCount(1025, 512), 3u);
    EXPECT_EQ(TransferBlockCount(0, 512), 1u) << "an empty whole still ends with one last block";
    EXPECT_EQ(TransferBlockCount(10, 0), 0u);
    std::vector<std::uint8_t> joined;
    for (std::size_t i = 0; i < TransferBlockCount(whole.size(), 300); ++i) {
        const auto block = TransferBlock(whole, i, 300);
        EXPECT_LE(block.size(), 300u);
        joined.insert(joined.end(), block.begin(), block.end());
    }
    EXPECT_EQ(joined, whole);
    EXPECT_EQ(TransferBlock(whole, 3, 300).size(), 100u);
    EXPECT_TRUE(TransferBlock(whole, 4, 300).empty());
    EXPECT_TRUE(TransferBlock(whole, static_cast<std::size_t>(-1), 300).empty()) << "no overflow";
    EXPECT_TRUE(TransferBlock(whole, 0, 0).empty());
}

TEST(CivilDate, CalendarArithmetic)
{
    EXPECT_EQ(DaysFromCivil({1970, 1, 1}), 0);
    EXPECT_EQ(DaysFromCivil({2000, 3, 1}), 11017);
    EXPECT_EQ(DayOfWeek({1970, 1, 1}), 4);
    EXPECT_EQ(DayOfWeek({2026, 12, 6}), 0); // a Sunday
    EXPECT_EQ(DayOfWeek({1969, 12, 28}), 0);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2026, 13), 0);
    EXPECT_FALSE(IsValidDate({2026, 4, 31}));
    for (long long d = -800; d < 80000; d += 37) {
        const CivilDate date = CivilFromDays(d);
        ASSERT_TRUE(IsValidDate(date));
        ASSERT_EQ(DaysFromCivil(date), d);
    }
}
