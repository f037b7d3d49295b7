#include "platform/decoder/FrameSlot.h"
#include "platform/decoder/VideoRect.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<const ScaledPicture> Picture(uint64_t geometry)
{
    auto picture = std::make_shared<ScaledPicture>();
    picture->geometry = geometry;
    return picture;
}

TEST(FrameSlot, KeepsOnlyTheNewestAndCountsPicturesReplacedUnseenButNotRescaledOnes)
{
    FrameSlot slot;
    EXPECT_EQ(slot.Take(), nullptr);
    slot.Put(Picture(1));
    slot.Put(Picture(2));
    slot.Put(Picture(3));
    EXPECT_EQ(slot.Dropped(), 2u);
    auto shown = slot.Take();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->geometry, 3u);
    EXPECT_EQ(slot.Presented(), 1u);
    // Painting again shows the same picture without counting it again.
    EXPECT_EQ(slot.Take(), shown);
    EXPECT_EQ(slot.Presented(), 1u);
    // A rescaled picture is neither new nor dropped.
    slot.Rescaled(Picture(5));
    EXPECT_EQ(slot.Peek()->geometry, 5u);
    slot.Take();
    EXPECT_EQ(slot.Presented(), 1u);
    EXPECT_EQ(slot.Dropped(), 2u);
    slot.Clear();
    EXPECT_EQ(slot.Take(), nullptr);
}

TEST(VideoRect, HiddenPanesAndViewportClipping)
{
    EXPECT_TRUE(IsHiddenPane({0, 0, 1, 1}));
    EXPECT_TRUE(IsHiddenPane({320, 240, 320, 240}));
    EXPECT_TRUE(IsHiddenPane({10, 10, 5, 20}));
    EXPECT_FALSE(IsHiddenPane({0, 0, 200, 150}));

    EXPECT_EQ(ClipViewport({0, 0, 0, 0}, 352, 288), (VideoRect{0, 0, 352, 288}));
    EXPECT_EQ(ClipViewport({100, 50, 200, 150}, 352, 288), (VideoRect{100, 50, 200, 150}));
    // A zoom made on a larger picture before a size change stays inside the new one.
    EXPECT_EQ(ClipViewport({100, 50, 720, 576}, 352, 288), (VideoRect{100, 50, 352, 288}));
    EXPECT_EQ(ClipViewport({400, 300, 720, 576}, 352, 288), (VideoRect{0, 0, 352, 288}));
    EXPECT_EQ(ClipViewport({-20, -20, 10, 10}, 352, 288), (VideoRect{0, 0, 10, 10}));
}

} // namespace
