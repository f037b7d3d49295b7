#include "platform/decoder/UnitQueue.h"

#include <gtest/gtest.h>

namespace {

VideoUnit Unit(UnitQueue& queue, bool startsPicture, bool keyframe, size_t size = 100)
{
    VideoUnit unit;
    unit.buffer = queue.TakeBuffer(size);
    unit.size = size;
    unit.startsPicture = startsPicture;
    unit.keyframe = keyframe;
    unit.codec = mpeg::VideoCodec::H264;
    return unit;
}

class UnitQueueTest : public ::testing::Test {
protected:
    std::atomic<uint64_t> skipped{0};
    UnitQueue queue{skipped};
};

TEST_F(UnitQueueTest, StartsAtTheFirstKeyframeAndMarksItAsAFreshStart)
{
    queue.Push(Unit(queue, true, false));
    queue.Push(Unit(queue, false, false));
    EXPECT_EQ(queue.WaitingUnits(), 0u);
    EXPECT_EQ(skipped.load(), 2u);
    queue.Push(Unit(queue, true, true));
    queue.Push(Unit(queue, false, false));  // the rest of that keyframe
    queue.Push(Unit(queue, true, false));
    ASSERT_EQ(queue.WaitingUnits(), 3u);
    VideoUnit out;
    ASSERT_TRUE(queue.Pop(&out));
    EXPECT_TRUE(out.keyframe);
    EXPECT_TRUE(out.resync);
    ASSERT_TRUE(queue.Pop(&out));
    EXPECT_FALSE(out.resync);
    EXPECT_EQ(skipped.load(), 2u);
}

TEST_F(UnitQueueTest, MoreThanTwoWaitingPicturesDiscardUpToTheNextKeyframe)
{
    queue.Push(Unit(queue, true, true));
    VideoUnit out;
    ASSERT_TRUE(queue.Pop(&out));  // the decoder is busy with the keyframe
    queue.Push(Unit(queue, true, false));
    queue.Push(Unit(queue, false, false));
    queue.Push(Unit(queue, true, false));
    queue.Push(Unit(queue, true, false));
    EXPECT_EQ(queue.WaitingUnits(), 4u);    // three pictures wait
    queue.Push(Unit(queue, false, false));  // continuations never trigger it
    EXPECT_EQ(queue.WaitingUnits(), 5u);
    queue.Push(Unit(queue, true, false));   // a fourth picture: overload
    EXPECT_EQ(queue.WaitingUnits(), 0u);
    EXPECT_EQ(skipped.load(), 6u);
    queue.Push(Unit(queue, true, false));
    EXPECT_EQ(skipped.load(), 7u);
    queue.Push(Unit(queue, true, true));
    EXPECT_EQ(queue.WaitingUnits(), 1u);
    ASSERT_TRUE(queue.Pop(&out));
    EXPECT_TRUE(out.resync);
}

TEST_F(UnitQueueTest, OverloadKeepsTheNewestWaitingKeyframeWithItsContinuations)
{
    queue.Push(Unit(queue, true, true, 1));
    queue.Push(Unit(queue, true, false, 2));
    queue.Push(Unit(queue, true, true, 3));
    queue.Push(Unit(queue, false, false, 4));  // second half of that keyframe
    queue.Push(Unit(queue, true, false, 5));  // overload
    queue.Push(Unit(queue, true, false, 6));
    EXPECT_EQ(skipped.load(), 4u);
    ASSERT_EQ(queue.WaitingUnits(), 2u);
    VideoUnit out;
    ASSERT_TRUE(queue.Pop(&out));
    EXPECT_EQ(out.size, 3u);
    EXPECT_TRUE(out.resync);
    ASSERT_TRUE(queue.Pop(&out));
    EXPECT_EQ(out.size, 4u);
    // Until the next keyframe nothing more is taken.
    queue.Push(Unit(queue, true, false, 7));
    EXPECT_EQ(queue.WaitingUnits(), 0u);
    EXPECT_EQ(skipped.load(), 5u);

    // A keyframe arriving in overload replaces all that waits.
    queue.Push(Unit(queue, true, true, 8));
    queue.Push(Unit(queue, true, false, 9));
    queue.Push(Unit(queue, true, false, 10));
    queue.Push(Unit(queue, true, true, 11));
    EXPECT_EQ(queue.WaitingUnits(), 1u);
    EXPECT_EQ(skipped.load(), 8u);
    ASSERT_TRUE(queue.Pop(&out));
    EXPECT_EQ(out.size, 11u);
    EXPECT_TRUE(out.resync);
}

TEST_F(UnitQueueTest, ByteAndCountLimitsBoundTheQueueWithoutTimeStamps)
{
    queue.Push(Unit(queue, false, true));
    for (size_t i = 1; i < UnitQueue::kMaxUnits; ++i)
        queue.Push(Unit(queue, false, false, 10));
    EXPECT_EQ(queue.WaitingUnits(), UnitQueue::kMaxUnits);
    queue.Push(Unit(queue, false, false, 10));
    EXPECT_EQ(queue.WaitingUnits(), 0u);
    EXPECT_EQ(skipped.load(), UnitQueue::kMaxUnits + 1);

    queue.Push(Unit(queue, false, true, UnitQueue::kMaxBytes - 10));
    EXPECT_EQ(queue.WaitingUnits(), 1u);
    queue.Push(Unit(queue, false, false, 20));
    EXPECT_EQ(queue.WaitingUnits(), 0u);
}

TEST_F(UnitQueueTest, AStreamWithoutKeyframesIsTakenAfterLongWaiting)
{
    for (size_t i = 0; i < UnitQueue::kMaxPicturesBeforeKeyframe; ++i)
        queue.Push(Unit(queue, true, false));
    EXPECT_EQ(queue.WaitingUnits(), 0u);
    queue.Push(Unit(queue, true, false));
    EXPECT_EQ(queue.WaitingUnits(), 1u);
}

TEST_F(UnitQueueTest, ResyncDropsWhatWaitsWithoutCountingIt)
{
    queue.Push(Unit(queue, true, true));
    queue.Push(Unit(queue, true, false));
    queue.Resync();
    EXPECT_EQ(queue.WaitingUnits(), 0u);
    EXPECT_EQ(skipped.load(), 0u);
    VideoUnit out;
    EXPECT_FALSE(queue.Pop(&out));
    queue.Push(Unit(queue, true, false));
    EXPECT_EQ(queue.WaitingUnits(), 0u);
}

} // namespace
