#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "media/HeldPtzMoves.h"

namespace {

using emulator::media::HeldPtzMoves;
using namespace std::chrono_literals;

::media::PtzCommand PanRight()
{
    ::media::PtzCommand command;
    command.panRight = true;
    return command;
}

// Waits at most `limit` for `count` to reach `least`.
bool Reaches(const std::atomic<int>& count, int least, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (count < least && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    return count >= least;
}

TEST(HeldPtzMoves, AHeldMovementRepeatsUntilItsStopAndOnlyForItsCamera)
{
    std::atomic<int> moves{0};
    std::atomic<int> otherCamera{0};
    HeldPtzMoves held([&](int camera, const ::media::PtzCommand& command) {
        EXPECT_TRUE(command.panRight);
        (camera == 4 ? moves : otherCamera)++;
    });
    held.Command(4, PanRight());
    ASSERT_TRUE(Reaches(moves, 2, 5s));

    ::media::PtzCommand preset;
    preset.extended = true;
    held.Command(4, preset);  // a preset neither stops nor starts a movement
    const int beforeStop = moves;
    ASSERT_TRUE(Reaches(moves, beforeStop + 1, 5s));

    held.Command(4, ::media::PtzCommand{});  // the stop of a released button
    const int atStop = moves;
    std::this_thread::sleep_for(std::chrono::milliseconds(3 * HeldPtzMoves::kRepeatMs));
    // One repeat may have been under way when the stop came.
    EXPECT_LE(moves, atStop + 1);
    EXPECT_EQ(otherCamera, 0);
}

TEST(HeldPtzMoves, PressAndReleaseAtOnceGiveNoRepeatAndDestructionEndsTheThread)
{
    std::atomic<int> moves{0};
    {
        HeldPtzMoves held([&](int, const ::media::PtzCommand&) { moves++; });
        held.Command(1, PanRight());
        held.Command(1, ::media::PtzCommand{});
        std::this_thread::sleep_for(std::chrono::milliseconds(2 * HeldPtzMoves::kRepeatMs));
        held.Command(2, PanRight());  // still held when the object goes
    }
    EXPECT_EQ(moves, 0);
}

}  // namespace
