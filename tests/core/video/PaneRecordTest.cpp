#include "core/video/OverlayState.h"
#include "core/video/PaneRecord.h"

#include <gtest/gtest.h>

namespace {

TEST(PaneRecord, ShowsTheFirstCameraInUseOfTheOwningServer)
{
    PaneRecord pane;
    EXPECT_EQ(pane.ShownCamera(), -1);
    EXPECT_EQ(pane.OwningServer(), -1);
    pane.Assign(2, 5, 7);
    pane.Assign(3, 5, 1);
    EXPECT_EQ(pane.OwningServer(), 3);
    EXPECT_EQ(pane.ShownCamera(), 1);
    EXPECT_EQ(pane.Camera(2, 5), 7);
    pane.ClearServer(3);
    EXPECT_FALSE(pane.InUse(3, 5));
    EXPECT_EQ(pane.Camera(3, 5), -1);
    EXPECT_EQ(pane.ShownCamera(), -1);  // the owner stays, with nothing in use
    pane.Assign(16, 0, 1);
    pane.Assign(0, -1, 1);
    EXPECT_EQ(pane.OwningServer(), 3);
}

TEST(OverlayState, LiveStartSetsTitlesAndLivePanesAndRestartsBlanking)
{
    OverlayState overlay;
    overlay.blankingDone = true;
    overlay.SetTitles(4, std::string(60, 's'), 2, "Gate");
    overlay.SetTitles(16, "x", 0, "y");  // out of range: ignored
    overlay.LiveStarted(0x0011);
    EXPECT_EQ(overlay.titles[4][0].size(), 49u);
    EXPECT_EQ(overlay.titles[4][1], "3-Gate");
    EXPECT_TRUE(overlay.IsLive(4));
    EXPECT_FALSE(overlay.IsLive(5));
    EXPECT_FALSE(overlay.IsLive(16));
    EXPECT_FALSE(overlay.blankingDone);
}

} // namespace
