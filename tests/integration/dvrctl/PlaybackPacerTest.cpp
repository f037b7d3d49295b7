// When the play command hands units of a file to the decoder.

#include <gtest/gtest.h>

#include <vector>

#include "../../../tools/dvrctl/PlaybackPacer.h"

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kGap{10};
constexpr std::uint64_t kFrame = 3600;  // 40 ms at 90 kHz

std::vector<long> Schedule(PlaybackPacer& pacer, const std::vector<std::optional<std::uint64_t>>& stamps)
{
    std::vector<long> due;
    for (auto stamp : stamps)
        due.push_back(static_cast<long>(pacer.Schedule(stamp).count()));
    return due;
}

TEST(PlaybackPacerTest, PicturesFollowTheirStampsFromTheFirst)
{
    PlaybackPacer pacer(kGap);
    // A stream starting at an arbitrary stamp; units without a stamp go with their picture.
    EXPECT_EQ(Schedule(pacer, {std::nullopt, 900000, std::nullopt, 900000 + kFrame, 900000 + 3 * kFrame}),
              (std::vector<long>{0, 0, 0, 40, 120}));
}

TEST(PlaybackPacerTest, PicturesNeverComeCloserThanTheGap)
{
    PlaybackPacer pacer(kGap);
    // The same stamp three times (a file without real timing), then one
    // earlier (a reordered picture): each waits the gap after the last.
    EXPECT_EQ(Schedule(pacer, {1000, 1000, 1000, 1000 - kFrame, 1000 + 2 * kFrame}),
              (std::vector<long>{0, 10, 20, 30, 80}));
}

TEST(PlaybackPacerTest, JumpsAndWrapsDoNotStallOrRush)
{
    PlaybackPacer pacer(kGap);
    const std::uint64_t nearWrap = (std::uint64_t{1} << 33) - kFrame;
    // Across the 33-bit wrap the stamps keep their 40 ms step.
    EXPECT_EQ(Schedule(pacer, {nearWrap, 0, kFrame}), (std::vector<long>{0, 40, 80}));
    // A jump of an hour forward, then back again: playback goes on after the gap both times.
    EXPECT_EQ(Schedule(pacer, {kFrame + 90000ull * 3600, kFrame * 2 + 90000ull * 3600, 5 * kFrame}),
              (std::vector<long>{90, 130, 140}));
}

} // namespace
