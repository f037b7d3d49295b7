#include "core/video/LoopFilterRule.h"

#include <gtest/gtest.h>

namespace {

TEST(LoopFilterRule, SkipsOnlyWhenBothDirectionsAreAtMostHalf)
{
    // 704 x 576 in the 800 x 600 window's layouts: 16 and 9 panes skip, 4 panes and one pane filter.
    EXPECT_TRUE(SkipsLoopFilter(200, 150, 704, 576));
    EXPECT_TRUE(SkipsLoopFilter(266, 200, 704, 576));
    EXPECT_FALSE(SkipsLoopFilter(400, 300, 704, 576));
    EXPECT_FALSE(SkipsLoopFilter(800, 600, 704, 576));
    // Exactly half skips; one pixel more in either direction filters.
    EXPECT_TRUE(SkipsLoopFilter(352, 288, 704, 576));
    EXPECT_FALSE(SkipsLoopFilter(353, 288, 704, 576));
    EXPECT_FALSE(SkipsLoopFilter(352, 289, 704, 576));
    // A quarter of the area but full width keeps the filter.
    EXPECT_FALSE(SkipsLoopFilter(704, 144, 704, 576));
    EXPECT_FALSE(SkipsLoopFilter(176, 576, 704, 576));
}

TEST(LoopFilterRule, ZoomedPartAndUnknownSizesDecide)
{
    // A pane of 200 x 150 zoomed to a 300 x 250 part of the picture shows it nearly whole-size.
    EXPECT_FALSE(SkipsLoopFilter(200, 150, 300, 250));
    EXPECT_TRUE(SkipsLoopFilter(200, 150, 400, 300));
    // No picture decoded yet, or no pane: the filter stays on.
    EXPECT_FALSE(SkipsLoopFilter(200, 150, 0, 0));
    EXPECT_FALSE(SkipsLoopFilter(0, 0, 704, 576));
    EXPECT_FALSE(SkipsLoopFilter(-5, 150, 704, 576));
}

} // namespace
