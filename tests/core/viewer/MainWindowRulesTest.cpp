#include "core/viewer/AlarmDisplay.h"
#include "core/viewer/LiveStartPhase.h"
#include "core/viewer/MainWindowControlTable.h"
#include "core/viewer/SetupRequest.h"
#include "core/viewer/SidePanelSelector.h"
#include "core/viewer/ViewerTimers.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(SidePanelSelector, TabsKeepExactlyOneDownAndHiddenButtonsLeaveThemAlone)
{
    SidePanelSelector s;
    EXPECT_TRUE(s.TabDown(SidePanel::Information));
    EXPECT_EQ(s.Shown(), SidePanel::Information);

    // Pressing the PTZ tab twice changes nothing the second time.
    for (int press = 0; press < 2; ++press) {
        EXPECT_TRUE(s.Press(SidePanelSelector::kTabPtz));
        EXPECT_TRUE(s.TabDown(SidePanel::Ptz));
        EXPECT_FALSE(s.TabDown(SidePanel::Information));
        EXPECT_EQ(s.Shown(), SidePanel::Ptz);
    }

    // The hidden buttons switch the panel only.
    EXPECT_TRUE(s.Press(SidePanelSelector::kShowPictures));
    EXPECT_EQ(s.Shown(), SidePanel::Pictures);
    EXPECT_EQ(s.Tab(), SidePanel::Ptz);
    EXPECT_TRUE(s.Press(SidePanelSelector::kShowInformation));
    EXPECT_EQ(s.Shown(), SidePanel::Information);
    EXPECT_EQ(s.Tab(), SidePanel::Ptz);

    EXPECT_FALSE(s.Press(1000));
    EXPECT_EQ(s.Shown(), SidePanel::Information);

    // Leaving full screen shows the panel whose tab is down.
    s.Press(SidePanelSelector::kTabPictures);
    s.Press(SidePanelSelector::kShowPtz);
    s.SetFullScreen(true);
    EXPECT_FALSE(s.Shown());
    s.SetFullScreen(false);
    EXPECT_EQ(s.Shown(), SidePanel::Pictures);
}

TEST(LiveStartPhase, RepaintsOnlyBetweenTheStartTimerAndThePtzSetUp)
{
    LiveStartPhase phase;
    EXPECT_FALSE(phase.OnRepaintTimer().repaint);
    EXPECT_EQ(phase.OnStartTimer(),
              (std::vector<TimerStart>{{kTimerPtzSetUp, 5000}, {kTimerRepaintUntilPtz, 500}}));
    EXPECT_TRUE(phase.Started());
    EXPECT_TRUE(phase.OnRepaintTimer().repaint);
    EXPECT_FALSE(phase.OnRepaintTimer().stop);
    phase.OnPtzSetUpTimer();
    EXPECT_TRUE(phase.PtzSetUpDone());
    EXPECT_FALSE(phase.OnRepaintTimer().repaint);
    EXPECT_TRUE(phase.OnRepaintTimer().stop);
}

TEST(SetupRequest, LiveVideoBlocksBeforeThePasswordIsAsked)
{
    int asked = 0;
    const auto confirm = [&](bool answer) {
        return [&asked, answer] {
            ++asked;
            return answer;
        };
    };
    EXPECT_EQ(DecideSetupRequest(true, confirm(true)),
              (SetupRequestOutcome{MessageRequest{LangText::Id(6040), MessageIcon::Warning}, false}));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(DecideSetupRequest(false, confirm(false)),
              (SetupRequestOutcome{MessageRequest{LangText::Id(6022), MessageIcon::Warning}, false}));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(DecideSetupRequest(false, confirm(true)), (SetupRequestOutcome{std::nullopt, true}));
    // With no password dialog to ask, the setup stays closed.
    EXPECT_FALSE(DecideSetupRequest(false, nullptr).enterSetupMode);
}

TEST(MainWindowControlTable, ButtonsAreUniqueAndNeverOverlapInsideTheWindow)
{
    const auto& table = MainWindowControlTable();
    ASSERT_EQ(table.size(), 47u);
    std::set<int> ids;
    std::set<std::string> elements;
    for (const ControlPlacement& c : table) {
        EXPECT_TRUE(ids.insert(c.id).second) << c.id;
        EXPECT_TRUE(elements.insert(c.element).second) << c.element;
        EXPECT_GE(c.x, 0);
        EXPECT_LE(c.x + c.width, 1024) << c.element;
        EXPECT_LE(c.y + c.height, 768) << c.element;
    }
    for (std::size_t i = 0; i < table.size(); ++i)
        for (std::size_t j = i + 1; j < table.size(); ++j) {
            const ControlPlacement& a = table[i];
            const ControlPlacement& b = table[j];
            const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y
                || b.y + b.height <= a.y;
            EXPECT_TRUE(apart) << a.element << " overlaps " << b.element;
        }
}

} // namespace

namespace {

TEST(AlarmPanes, OnlyPanesShowingCamerasOfActiveSensorsFlash)
{
    // Sensor 1 watches cameras 1 and 3, sensor 2 camera 2, sensor 3 camera 4.
    const std::uint16_t links[8] = {0x0005, 0x0002, 0x0008};
    // Panes 0..3 show cameras 3, 4, 1, 2 (a second recorder took panes before).
    const std::vector<PaneCamera> pairs{{4, 2}, {5, 3}, {6, 0}, {7, 1}};
    EXPECT_EQ(AlarmPanes(0x0001, links, pairs), 0x0050);
    EXPECT_EQ(AlarmPanes(0x0006, links, pairs), 0x00A0);
    EXPECT_EQ(AlarmPanes(0x0000, links, pairs), 0);
    // Sensors beyond the links and cameras no pane shows mark nothing.
    EXPECT_EQ(AlarmPanes(0x0100, links, pairs), 0);
    EXPECT_EQ(AlarmPanes(0x0001, links, {{0, 5}}), 0);
}

TEST(AlarmDisplay, FramesAndPlainOverlayTakeTurnsUntilStopped)
{
    AlarmDisplay display;
    EXPECT_FALSE(display.OnAlarmPanes(0));
    EXPECT_FALSE(display.OnTimer(kTimerPaneDraw1));
    EXPECT_EQ(display.OnAlarmPanes(0x0003), (TimerStart{kTimerPaneDraw1, 1000}));
    // A second alarm while it runs starts no second chain of timers.
    EXPECT_FALSE(display.OnAlarmPanes(0x0001));
    EXPECT_EQ(display.OnTimer(kTimerPaneDraw1), (AlarmDisplay::Flash{true, {kTimerPaneDraw2, 1000}}));
    EXPECT_EQ(display.OnTimer(kTimerPaneDraw2), (AlarmDisplay::Flash{false, {kTimerPaneDraw1, 1000}}));
    EXPECT_FALSE(display.OnTimer(kTimerPaneDraw1 + 5));
    EXPECT_EQ(display.Stop(), (std::vector<int>{kTimerPaneDraw1, kTimerPaneDraw2}));
    EXPECT_FALSE(display.Active());
    EXPECT_FALSE(display.OnTimer(kTimerPaneDraw2));
}

} // namespace
