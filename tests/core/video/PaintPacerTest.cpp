#include "core/video/PaintPacer.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(PaintPacerTest, PaintsAtOnceUnlessTheLastPaintIsWithinOneInterval)
{
    PaintPacer pacer(16ms);
    const PaintPacer::Clock::time_point start{};
    EXPECT_EQ(pacer.WaitBeforePaint(start + 5ms), PaintPacer::Clock::duration::zero());

    pacer.Painted(start);
    EXPECT_EQ(pacer.WaitBeforePaint(start), 16ms);
    EXPECT_EQ(pacer.WaitBeforePaint(start + 10ms), 6ms);
    EXPECT_EQ(pacer.WaitBeforePaint(start + 16ms), PaintPacer::Clock::duration::zero());
    EXPECT_EQ(pacer.WaitBeforePaint(start + 1h), PaintPacer::Clock::duration::zero());

    pacer.Painted(start + 20ms);
    EXPECT_EQ(pacer.WaitBeforePaint(start + 21ms), 15ms);
}
