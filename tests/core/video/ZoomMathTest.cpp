#include "core/video/ZoomMath.h"

#include <gtest/gtest.h>

namespace {

const PaneRect kQuadPane{400, 300, 800, 600};

TEST(ZoomMath, BandMapsToPicturePixelsTruncatingTowardZero)
{
    // Pane 400 x 300, picture 704 x 576: factors 1.76 and 1.92.
    auto vp = ZoomViewport({410, 310}, {510, 460}, kQuadPane, 704, 576);
    ASSERT_TRUE(vp);
    EXPECT_EQ(*vp, (PaneRect{17, 19, 193, 307}));
}

TEST(ZoomMath, CornersInAnyOrderGiveTheSameViewport)
{
    auto a = ZoomViewport({410, 310}, {510, 460}, kQuadPane, 720, 576);
    auto b = ZoomViewport({510, 460}, {410, 310}, kQuadPane, 720, 576);
    auto c = ZoomViewport({510, 310}, {410, 460}, kQuadPane, 720, 576);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(*a, *b);
    EXPECT_EQ(*a, *c);
    EXPECT_EQ(ZoomViewport({0, 0}, {800, 600}, PaneRect{0, 0, 800, 600}, 720, 576), WholePicture(720, 576));
}

TEST(ZoomMath, TinyBandsAndDegeneratePanesDoNotZoom)
{
    EXPECT_FALSE(ZoomViewport({410, 310}, {415, 400}, kQuadPane, 720, 576));  // 5 wide
    EXPECT_FALSE(ZoomViewport({410, 310}, {500, 315}, kQuadPane, 720, 576));  // 5 high
    EXPECT_TRUE(ZoomViewport({410, 310}, {416, 316}, kQuadPane, 720, 576));   // 6 x 6 zooms
    // No division by zero.
    EXPECT_FALSE(ZoomViewport({0, 0}, {50, 50}, PaneRect{10, 10, 10, 10}, 720, 576));
}

} // namespace
