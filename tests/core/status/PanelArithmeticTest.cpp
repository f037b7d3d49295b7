#include <gtest/gtest.h>

#include <limits>

#include "core/status/BarChartLayout.h"
#include "core/status/BitRate.h"

namespace {

TEST(BitRate, ConvertsBytesPerSecondToWholeKilobits)
{
    EXPECT_EQ(KbpsFromBytes(128000), 1000u);
    // Above 512 MiB a 32-bit product would wrap to a tiny rate.
    EXPECT_EQ(KbpsFromBytes(0x20000000u), 4194304u);
    EXPECT_EQ(KbpsFromBytes(0xFFFFFFFFu), 33554431u);
}

TEST(BarChartLayout, FitsWholeSegmentsBetweenTheMarginsFromTheBottomUp)
{
    const BarChartLayout panelBar(45);  // the information panel's bar
    EXPECT_EQ(panelBar.SegmentCount(), 14);
    EXPECT_EQ(panelBar.SegmentTop(0), 42);  // rows 42-43, bottom margin row 44
    EXPECT_GE(panelBar.SegmentTop(panelBar.SegmentCount() - 1), BarChartLayout::kMargin);

    EXPECT_EQ(BarChartLayout(4).SegmentCount(), 1);
    EXPECT_EQ(BarChartLayout(3).SegmentCount(), 0);
}

TEST(BarChartLayout, LightsTheShareOfThePositionRoundedDown)
{
    const BarChartLayout bar(45);
    EXPECT_EQ(bar.LitCount(50, 0, 100), 7);
    EXPECT_EQ(bar.LitCount(7.1, 0, 100), 0);
    EXPECT_EQ(bar.LitCount(7.2, 0, 100), 1);  // 14 * 7.2 / 100 = 1.008
    EXPECT_EQ(bar.LitCount(100, 0, 100), 14);

    // A range that does not start at zero is measured from its start.
    EXPECT_EQ(bar.LitCount(150, 100, 200), 7);
    // Out of range, empty, reversed or unbounded ranges and NaN light none or all, never more.
    EXPECT_EQ(bar.LitCount(-20, 0, 100), 0);
    EXPECT_EQ(bar.LitCount(250, 0, 100), 14);
    EXPECT_EQ(bar.LitCount(50, 100, 0), 0);
    EXPECT_EQ(bar.LitCount(std::numeric_limits<double>::quiet_NaN(), 0, 100), 0);
    EXPECT_EQ(bar.LitCount(50, -std::numeric_limits<double>::infinity(), 100), 0);
}

} // namespace
