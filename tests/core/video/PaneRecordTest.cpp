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

} // namespace
