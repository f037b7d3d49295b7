#include "core/video/ChannelAssignment.h"

#include <gtest/gtest.h>

namespace {

TEST(ChannelAssignment, EachCameraGetsTheLowestFreePane)
{
    LiveStartInput in;
    in.dvrType = 3;
    in.checkedButtons = 0x0015;  // cameras 0, 2, 4
    in.occupiedPanes = 0x0002;   // another session shows pane 1
    LiveStartPlan plan = PlanLiveStart(in);
    EXPECT_EQ(plan.requestedVideo, 0x0015);
    EXPECT_EQ(plan.mappings, (std::vector<StreamMapping>{{0, 0}, {2, 2}, {4, 3}}));
    EXPECT_EQ(plan.ownedPanes, 0x000D);
    EXPECT_EQ(plan.occupiedPanes, 0x000F);
    EXPECT_EQ(PairPanesWithCameras(plan.ownedPanes, plan.requestedVideo),
              (std::vector<PaneCamera>{{0, 0}, {2, 2}, {3, 4}}));
}

TEST(ChannelAssignment, RestartReleasesTheSessionsOwnPanesFirst)
{
    LiveStartInput in;
    in.dvrType = 2;
    in.checkedButtons = 0x0003;
    in.occupiedPanes = 0x00F0 | 0x0003;
    in.ownedPanes = 0x00F0;  // this session had panes 4..7
    LiveStartPlan plan = PlanLiveStart(in);
    EXPECT_EQ(plan.mappings, (std::vector<StreamMapping>{{0, 2}, {1, 3}}));
    EXPECT_EQ(plan.ownedPanes, 0x000C);
    EXPECT_EQ(plan.occupiedPanes, 0x000F);
}

TEST(ChannelAssignment, RestoreAfterReconnectPutsCamerasBackInTheirPanesUnlessOneIsTaken)
{
    // Cameras 0, 2, 3 were on panes 4, 5, 6; pane 3 has been free meanwhile.
    const std::vector<PaneCamera> before{{4, 0}, {5, 2}, {6, 3}};
    LiveStartInput in;
    in.dvrType = 6;
    in.checkedButtons = 0x0009;  // camera 2 is gone from the recorder
    in.ownedPanes = 0x0070;
    in.occupiedPanes = 0x0007 | 0x0070;
    LiveStartPlan plan = PlanLiveRestore(in, before);
    EXPECT_EQ(plan.mappings, (std::vector<StreamMapping>{{0, 4}, {3, 6}}));
    EXPECT_EQ(plan.ownedPanes, 0x0050);
    EXPECT_EQ(plan.occupiedPanes, 0x0057);
    EXPECT_EQ(PairPanesWithCameras(plan.ownedPanes, plan.requestedVideo), (std::vector<PaneCamera>{{4, 0}, {6, 3}}));

    // Another session took pane 6 meanwhile, or a camera had no pane: packed as at any start.
    in.occupiedPanes = 0x0007 | 0x0030 | 0x0040;
    in.ownedPanes = 0x0030;
    EXPECT_EQ(PlanLiveRestore(in, before).mappings, PlanLiveStart(in).mappings);
    in.checkedButtons = 0x0003;
    EXPECT_EQ(PlanLiveRestore(in, before).mappings, PlanLiveStart(in).mappings);
}

TEST(ChannelAssignment, SixteenOccupiedPanesLeaveFurtherCamerasUnmapped)
{
    LiveStartInput in;
    in.dvrType = 6;
    in.checkedButtons = 0x0003;
    in.occupiedPanes = 0x7FFF;  // only pane 15 free
    LiveStartPlan plan = PlanLiveStart(in);
    EXPECT_EQ(plan.mappings, (std::vector<StreamMapping>{{0, 15}}));
    EXPECT_EQ(plan.occupiedPanes, 0xFFFF);
    EXPECT_EQ(plan.requestedVideo, 0x0003);
    // The second camera has no pane, so only the first is paired.
    EXPECT_EQ(PairPanesWithCameras(plan.ownedPanes, plan.requestedVideo), (std::vector<PaneCamera>{{15, 0}}));

    in.occupiedPanes = 0;
    in.checkedButtons = 0xFFFF;
    plan = PlanLiveStart(in);
    ASSERT_EQ(plan.mappings.size(), 16u);
    EXPECT_EQ(plan.mappings[15], (StreamMapping{15, 15}));
}

TEST(ChannelAssignment, PairedModelsSharingPicturesMapPairsToOneStreamOnTheFirstEightPanes)
{
    LiveStartInput in;
    in.dvrType = 1;
    in.checkedButtons = 0x0005;  // cameras 0 and 2, the first of each pair
    LiveStartPlan plan = PlanLiveStart(in);
    EXPECT_EQ(plan.mappings, (std::vector<StreamMapping>{{0, 0}, {1, 1}}));
    EXPECT_EQ(plan.requestedVideo, 0x0005);

    in.dvrType = 5;
    in.checkedButtons = 0x0032;  // cameras 1, 4 and 5: only camera 1 maps (to stream 0)
    plan = PlanLiveStart(in);
    EXPECT_EQ(plan.mappings, (std::vector<StreamMapping>{{0, 0}}));
    EXPECT_EQ(plan.requestedVideo, 0x0032);

    in.occupiedPanes = 0x00FF;  // panes 8..15 are free but out of reach
    in.checkedButtons = 0x0001;
    plan = PlanLiveStart(in);
    EXPECT_TRUE(plan.mappings.empty());
    EXPECT_EQ(plan.ownedPanes, 0);
}

TEST(ChannelAssignment, PairedModelsWithPerCameraStreamsMapLikeOthers)
{
    LiveStartInput in;
    in.dvrType = 5;
    in.perCameraStreams = true;
    in.checkedButtons = 0x000A;
    in.occupiedPanes = 0x00FF;
    LiveStartPlan plan = PlanLiveStart(in);
    EXPECT_EQ(plan.mappings, (std::vector<StreamMapping>{{1, 8}, {3, 9}}));
}

TEST(ChannelAssignment, SetupModeKeepsCameraNumbersButStillMarksPanes)
{
    LiveStartInput in;
    in.dvrType = 3;
    in.setupMode = true;
    in.checkedButtons = 0x0030;  // cameras 4 and 5
    in.occupiedPanes = 0x0001;
    LiveStartPlan plan = PlanLiveStart(in);
    EXPECT_EQ(plan.mappings, (std::vector<StreamMapping>{{4, 4}, {5, 5}}));
    EXPECT_EQ(plan.ownedPanes, 0x0006);
    EXPECT_EQ(plan.occupiedPanes, 0x0007);

    in.dvrType = 1;  // paired: in setup the camera is its own stream too
    in.checkedButtons = 0x0002;
    plan = PlanLiveStart(in);
    EXPECT_EQ(plan.mappings, (std::vector<StreamMapping>{{1, 1}}));
}

TEST(ChannelAssignment, OtherModelsGetOnePanePerCamera)
{
    LiveStartInput in;
    in.dvrType = 4;
    in.checkedButtons = 0x8001;
    LiveStartPlan plan = PlanLiveStart(in);
    EXPECT_EQ(plan.mappings, (std::vector<StreamMapping>{{0, 0}, {15, 1}}));
}

} // namespace
