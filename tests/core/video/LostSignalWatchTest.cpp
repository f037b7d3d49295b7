#include "core/video/LostSignalWatch.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Clock = LostSignalWatch::Clock;

const Clock::time_point t0{};

TEST(LostSignalWatch, PaneWithoutNewPictureForTwoSecondsIsStaleUntilOneComes)
{
    LostSignalWatch watch;
    watch.Watch(0x0003, t0);
    watch.Sample(0, 10, t0, 1000);
    watch.Sample(1, 50, t0, 1000);
    // Pane 0 keeps getting pictures, pane 1 stops.
    watch.Sample(0, 11, t0 + 1s, 1001);
    watch.Sample(0, 12, t0 + 2s, 1002);
    watch.Sample(1, 50, t0 + 2s, 1002);
    EXPECT_EQ(watch.StalePanes(t0 + 2s - 1ms), 0);
    EXPECT_EQ(watch.StalePanes(t0 + 2s), 0x0002);
    // The first sample was only the baseline: pane 1 has had no picture since.
    EXPECT_FALSE(watch.LastPictureTime(1).has_value());
    EXPECT_EQ(watch.LastPictureTime(0), std::time_t{1002});

    watch.Sample(1, 51, t0 + 5s, 1005);
    EXPECT_EQ(watch.StalePanes(t0 + 5s), 0x0001);
    EXPECT_EQ(watch.LastPictureTime(1), std::time_t{1005});
    EXPECT_EQ(watch.StalePanes(t0 + 7s), 0x0003);
}

TEST(LostSignalWatch, PaneThatJoinsGetsItsOwnGraceAndOneThatLeavesIsForgotten)
{
    LostSignalWatch watch;
    watch.Watch(0x0001, t0);
    watch.Sample(0, 1, t0, 1);
    EXPECT_EQ(watch.StalePanes(t0 + 3s), 0x0001);

    // Pane 4 starts live at 3 s; a sample of an unwatched pane is ignored.
    watch.Sample(5, 99, t0 + 3s, 3);
    watch.Watch(0x0011, t0 + 3s);
    EXPECT_EQ(watch.StalePanes(t0 + 4s), 0x0001);
    EXPECT_EQ(watch.StalePanes(t0 + 5s), 0x0011);

    // Pane 0 stops being live, then comes back: no picture counted from before.
    watch.Sample(0, 2, t0 + 5s, 5);
    watch.Watch(0x0010, t0 + 6s);
    EXPECT_EQ(watch.StalePanes(t0 + 6s), 0x0010);
    watch.Watch(0x0011, t0 + 7s);
    EXPECT_FALSE(watch.LastPictureTime(0).has_value());
    EXPECT_EQ(watch.StalePanes(t0 + 8s), 0x0010);
    EXPECT_FALSE(watch.LastPictureTime(16).has_value());
}

TEST(LostSignalWatch, CountThatStartsAgainFromZeroIsANewPicture)
{
    // A channel cleared and decoding a new stream may report a smaller count.
    LostSignalWatch watch;
    watch.Watch(0x8000, t0);
    watch.Sample(15, 500, t0, 0);
    watch.Sample(15, 1, t0 + 1900ms, 7);
    EXPECT_EQ(watch.StalePanes(t0 + 3s), 0);
    EXPECT_EQ(watch.LastPictureTime(15), std::time_t{7});
}

} // namespace
