// The Schedule and Sensor pages' rules.
#include "core/dvr/SettingsBlock.h"
#include "core/setup/ScheduleGrid.h"
#include "core/setup/SensorPageRules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

DvrScheduleSection Filled(std::uint8_t value)
{
    DvrScheduleSection s;
    std::memset(s.mode, value, sizeof s.mode);
    return s;
}

} // namespace

TEST(ScheduleGridTest, LettersAndValuesMapBothWays)
{
    const struct {
        char letter;
        std::uint8_t value;
    } table[] = {{'C', 0}, {'M', 1}, {'D', 2}, {'S', 3}, {'X', 4}, {0, 4}, {'Q', 4}};
    for (const auto& row : table)
        EXPECT_EQ(ScheduleValueOfLetter(row.letter), row.value) << row.letter;
    EXPECT_EQ(ScheduleLetterOfValue(3), 'S');
    EXPECT_EQ(ScheduleLetterOfValue(4), 'X');
    EXPECT_EQ(ScheduleLetterOfValue(5), 0);

    // A value outside 0..4 shows as a cleared cell and is stored as 4.
    DvrScheduleSection s = Filled(1);
    s.mode[2][3][7] = 9;
    ScheduleGrid grid;
    grid.ShowCamera(s, 2);
    EXPECT_EQ(grid.Cell(4, 7), ScheduleCell{});
    EXPECT_EQ(grid.Cell(4, 8), (ScheduleCell{true, 'M'}));
    EXPECT_EQ(grid.Cell(0, 8), ScheduleCell{});
    grid.StoreCamera(s, 2);
    EXPECT_EQ(s.mode[2][3][7], 4);
    EXPECT_EQ(s.mode[2][3][8], 1);
}

TEST(ScheduleGridTest, CellClicksFollowTheMode)
{
    DvrScheduleSection s = Filled(0);
    ScheduleGrid grid;
    grid.ShowCamera(s, 0);

    // Clicked twice in Motion: unchecked, empty, stored as 4.
    grid.ClickCell(3, 10, false, 'M'); // a checked "C" cell is unchecked by the first click
    EXPECT_EQ(grid.Cell(3, 10), ScheduleCell{});
    EXPECT_TRUE(grid.ClickCell(3, 10, true, 'M'));
    EXPECT_EQ(grid.Cell(3, 10), (ScheduleCell{true, 'M'}));
    grid.ClickCell(3, 10, false, 'M');
    grid.StoreCamera(s, 0);
    EXPECT_EQ(s.mode[0][2][10], 4);

    // Everyday at hour 5 in Dual: 2 on all seven days, nothing else.
    s = Filled(0);
    grid.ShowCamera(s, 1);
    grid.ClickCell(kEverydayRow, 5, true, 'D');
    grid.StoreCamera(s, 1);
    for (int d = 0; d < 7; ++d)
        for (int h = 0; h < 24; ++h)
            ASSERT_EQ(s.mode[1][d][h], h == 5 ? 2 : 0) << d << " " << h;
    EXPECT_EQ(s.mode[0][0][5], 0);

    // A day cell clicked unchecks its hour's Everyday cell.
    grid.ClickCell(2, 5, true, 'S');
    EXPECT_FALSE(grid.Cell(kEverydayRow, 5).checked);
    EXPECT_EQ(grid.Cell(2, 5), (ScheduleCell{true, 'S'}));
    // Unchecking Everyday empties the hour on every day.
    grid.ClickCell(kEverydayRow, 5, false, 'S');
    for (int r = 0; r < kScheduleRows; ++r)
        EXPECT_EQ(grid.Cell(r, 5), ScheduleCell{});
}

TEST(ScheduleGridTest, NoModeSetsNothingAndKeepsOtherHours)
{
    DvrScheduleSection s = Filled(1);
    ScheduleGrid grid;
    grid.ShowCamera(s, 0);
    // An empty Everyday cell clicked without a mode: refused, the days keep
    // their hour.
    EXPECT_FALSE(grid.ClickCell(kEverydayRow, 4, true, 0));
    EXPECT_EQ(grid.Cell(kEverydayRow, 4), ScheduleCell{});
    for (int r = 1; r < kScheduleRows; ++r)
        EXPECT_EQ(grid.Cell(r, 4), (ScheduleCell{true, 'M'}));
    // A set day cell clicked without a mode is still emptied.
    EXPECT_FALSE(grid.ClickCell(1, 4, false, 0));
    EXPECT_EQ(grid.Cell(1, 4), ScheduleCell{});
    EXPECT_FALSE(grid.PaintCell(1, 6, 0));
    EXPECT_EQ(grid.Cell(1, 6), (ScheduleCell{true, 'M'}));
    // A set "Everyday" cell unchecked without a mode still empties its hour.
    grid.ClickCell(kEverydayRow, 9, true, 'S');
    EXPECT_FALSE(grid.ClickCell(kEverydayRow, 9, false, 0));
    for (int r = 0; r < kScheduleRows; ++r)
        EXPECT_EQ(grid.Cell(r, 9), ScheduleCell{}) << r;
}

TEST(ScheduleGridTest, RowButtonsAndPainting)
{
    ScheduleGrid grid;
    grid.ClickRowAll(kEverydayRow, true, 'C');
    for (int r = 0; r < kScheduleRows; ++r) {
        EXPECT_TRUE(grid.RowAllChecked(r));
        EXPECT_EQ(grid.Cell(r, 23), (ScheduleCell{true, 'C'}));
    }
    // A day row's "All" unchecked empties that row only and releases Everyday.
    grid.ClickRowAll(3, false, 'C');
    EXPECT_FALSE(grid.RowAllChecked(kEverydayRow));
    EXPECT_FALSE(grid.Cell(kEverydayRow, 0).checked);
    for (int h = 0; h < 24; ++h) {
        EXPECT_EQ(grid.Cell(3, h), ScheduleCell{});
        EXPECT_EQ(grid.Cell(4, h), (ScheduleCell{true, 'C'}));
    }
    grid.ClickRowAll(3, true, 'S');
    EXPECT_EQ(grid.Cell(3, 12), (ScheduleCell{true, 'S'}));
    // Painting sets a cell like a click to checked.
    EXPECT_TRUE(grid.PaintCell(5, 2, 'M'));
    EXPECT_EQ(grid.Cell(5, 2), (ScheduleCell{true, 'M'}));
    grid.ClickRowAll(kEverydayRow, false, 'M');
    EXPECT_EQ(grid.Cell(5, 2), ScheduleCell{});
}

TEST(ScheduleGridTest, CopyChangesOnlyTheTargetsButTheSource)
{
    DvrScheduleSection s;
    for (int c = 0; c < 16; ++c)
        std::memset(s.mode[c], c % 5, sizeof s.mode[c]);
    s.mode[1][6][23] = 3;
    const DvrScheduleSection before = s;
    CopyScheduleWeek(s, 1, 1, 4);
    for (int c = 0; c < 16; ++c) {
        const bool target = c == 0 || c == 2 || c == 3;
        EXPECT_EQ(std::memcmp(s.mode[c], target ? before.mode[1] : before.mode[c], sizeof s.mode[c]), 0) << c;
    }
    // Numbers outside 1..16 are left out.
    s = before;
    CopyScheduleWeek(s, 0, -3, 40);
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(std::memcmp(s.mode[c], before.mode[0], sizeof s.mode[c]), 0) << c;
    s = before;
    CopyScheduleWeek(s, 0, 5, 2);
    EXPECT_EQ(std::memcmp(&s, &before, sizeof s), 0);

    SetScheduleDefaults(s);
    const DvrScheduleSection zero = Filled(0);
    EXPECT_EQ(std::memcmp(&s, &zero, sizeof s), 0);
}

TEST(ScheduleGridTest, ModelLimits)
{
    const struct {
        std::uint8_t code;
        ScheduleLimits limits;
    } table[] = {{1, {4, true}}, {2, {8, false}}, {3, {16, false}}, {4, {16, false}},
                 {5, {4, false}}, {6, {4, false}}, {0, {16, false}}};
    for (const auto& row : table)
        EXPECT_EQ(ScheduleModelLimits(row.code), row.limits) << int(row.code);
}

TEST(SensorPageRulesTest, FillAndStoreRoundTrip)
{
    DvrSensorSection s = MakeDefaultSettingsBlock(4).sensor;
    s.cameraLinks[2].set(0x8005);
    s.outputLinks[2] = 0x81;
    s.startHour[2] = 6;
    s.endHour[2] = 18;
    s.flags[2].set(0x80000ABCu | (300u << 21) | (7u << 12));
    SensorPageFields f = FillSensorPage(s, 2);
    EXPECT_EQ(f, (SensorPageFields{0x8005, 0x81, 6, 18, 1, 0, 300, 7}));

    const DvrSensorSection before = s;
    StoreSensorPage(f, s, 2);
    EXPECT_EQ(std::memcmp(&s, &before, sizeof s), 0);

    // End not after the start: 24. Dwell 600: 88. Bits 0..11 stay.
    const struct {
        int start, end, storedEnd;
    } hours[] = {{10, 8, 24}, {10, 10, 24}, {10, 11, 11}, {0, 0, 24}, {0, 24, 24}, {23, 24, 24}};
    for (const auto& row : hours) {
        f.startHour = row.start;
        f.endHour = row.end;
        StoreSensorPage(f, s, 2);
        EXPECT_EQ(s.startHour[2], row.start);
        EXPECT_EQ(s.endHour[2], row.storedEnd) << row.start << "~" << row.end;
    }
    f.recordDwell = 600;
    f.outputDwell = 511;
    f.typePosition = 0;
    f.modePosition = 1;
    StoreSensorPage(f, s, 2);
    const std::uint32_t word = s.flags[2].get();
    EXPECT_EQ((word >> 21) & 0x1FF, 88u);
    EXPECT_EQ((word >> 12) & 0x1FF, 511u);
    EXPECT_EQ(word & 0xFFF, 0xABCu);
    EXPECT_EQ(word >> 30, 1u); // NC, INTENSIVE
    // Other sensors untouched.
    EXPECT_EQ(std::memcmp(&s.flags[3], &before.flags[3], 4), 0);
}

TEST(SensorPageRulesTest, DefaultsKeepTypeModeAndRecorderBits)
{
    DvrSensorSection s{};
    for (int i = 0; i < 8; ++i) {
        s.cameraLinks[i].set(0xFFFF);
        s.outputLinks[i] = 0xFF;
        s.startHour[i] = 3;
        s.endHour[i] = 4;
        s.flags[i].set(0xFFFFFFFFu);
    }
    SetSensorDefaults(s);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(FillSensorPage(s, i), (SensorPageFields{0, 0, 0, 24, 1, 1, 0, 0}));
        EXPECT_EQ(s.flags[i].get(), 0xC0000FFFu);
    }
}

TEST(SensorPageRulesTest, ModelLimits)
{
    const struct {
        std::uint8_t code;
        SensorLimits limits;
    } table[] = {{1, {4, 4, 2}}, {2, {8, 8, 8}}, {3, {8, 16, 8}}, {4, {8, 16, 8}},
                 {5, {8, 16, 8}}, {6, {4, 4, 4}}};
    for (const auto& row : table)
        EXPECT_EQ(SensorModelLimits(row.code), row.limits) << int(row.code);
}
