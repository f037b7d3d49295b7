#include "core/dvr/SettingsBlock.h"
#include "core/ptz/PtzButtons.h"
#include "core/ptz/PtzChannelSetting.h"
#include "core/ptz/PtzKeyState.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace ptz;

bool IsCommand(const std::optional<PtzKeyAction>& action, Command command)
{
    return action && action->kind == PtzKeyAction::Kind::Command && action->command == command;
}

TEST(PtzKeyState, AHeldKeySendsOneCommandAndOneStopWhateverItsAutoRepeat)
{
    PtzKeyState keys;
    EXPECT_TRUE(IsCommand(keys.Press(PtzKey::Left, 0, false, false), Command::PanLeft));
    for (int i = 0; i < 20; ++i) {
        // Marked auto-repeat, and release-press pairs that are not marked.
        keys.Release(PtzKey::Left, i % 2 == 0);
        EXPECT_FALSE(keys.Press(PtzKey::Left, 0, false, i % 2 == 0));
        EXPECT_FALSE(keys.ReleasePending());
        EXPECT_FALSE(keys.Settle());
    }
    keys.Release(PtzKey::Left, false);
    EXPECT_TRUE(keys.ReleasePending());
    EXPECT_TRUE(IsCommand(keys.Settle(), Command::BreakPTZ));
    EXPECT_FALSE(keys.Settle());
    keys.Release(PtzKey::Left, false);
    EXPECT_FALSE(keys.ReleasePending());
    EXPECT_EQ(keys.Held(), PtzKey::None);
}

TEST(PtzKeyState, ASecondKeyTakesOverAndOnlyItsReleaseStops)
{
    PtzKeyState keys;
    EXPECT_TRUE(IsCommand(keys.Press(PtzKey::Up, 0, false, false), Command::TiltUp));
    EXPECT_TRUE(IsCommand(keys.Press(PtzKey::ZoomIn, 0, false, false), Command::ZoomIn));
    keys.Release(PtzKey::Up, false);
    EXPECT_FALSE(keys.Settle());
    keys.Release(PtzKey::ZoomIn, false);
    EXPECT_TRUE(IsCommand(keys.Settle(), Command::BreakPTZ));

    // A key pressed while another's release settles takes over at once.
    EXPECT_TRUE(IsCommand(keys.Press(PtzKey::Left, 0, false, false), Command::PanLeft));
    keys.Release(PtzKey::Left, false);
    EXPECT_TRUE(IsCommand(keys.Press(PtzKey::Right, 0, false, false), Command::PanRight));
    EXPECT_FALSE(keys.Settle());

    EXPECT_TRUE(IsCommand(keys.Cancel(), Command::BreakPTZ));
    EXPECT_FALSE(keys.Cancel());
    keys.Release(PtzKey::Right, false);
    EXPECT_FALSE(keys.Settle());
}

TEST(PtzKeyState, DigitsCallOrSetPresetsOneToNineAndHoldNothing)
{
    PtzKeyState keys;
    auto call = keys.Press(PtzKey::Digit, 4, false, false);
    ASSERT_TRUE(call);
    EXPECT_EQ(call->kind, PtzKeyAction::Kind::Preset);
    EXPECT_EQ(call->preset, PresetAction::Call);
    EXPECT_EQ(call->presetNumber, 4u);
    auto set = keys.Press(PtzKey::Digit, 9, true, false);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->preset, PresetAction::Set);
    EXPECT_EQ(set->presetNumber, 9u);
    EXPECT_FALSE(keys.Press(PtzKey::Digit, 0, false, false));
    EXPECT_FALSE(keys.Press(PtzKey::Digit, 3, false, true));
    keys.Release(PtzKey::Digit, false);
    EXPECT_FALSE(keys.Settle());
    EXPECT_EQ(keys.Held(), PtzKey::None);
}

TEST(PtzButtons, HeldButtonsMoveOnLeftDownAndStopOnEveryOtherReport)
{
    std::set<int> ids;
    for (const PtzButton& b : kPtzButtons) {
        ids.insert(b.id);
        if (!b.held)
            continue;
        EXPECT_EQ(CommandForButton(b.id, ButtonAction::LeftDown), b.held) << b.id;
        for (auto other : {ButtonAction::LeftUp, ButtonAction::RightDown, ButtonAction::RightUp})
            EXPECT_EQ(CommandForButton(b.id, other), Command::BreakPTZ) << b.id;
    }
    EXPECT_EQ(ids.size(), 11u);
    EXPECT_EQ(CommandForButton(4011, ButtonAction::LeftDown), Command::ZoomOut);  // "m_btn_ptz_Zoomin"
    EXPECT_EQ(CommandForButton(4012, ButtonAction::LeftDown), Command::ZoomIn);
    EXPECT_FALSE(CommandForButton(kHomeButton, ButtonAction::LeftDown));
    EXPECT_FALSE(CommandForButton(4022, ButtonAction::LeftUp));
}

TEST(PtzChannelSetting, NamesComeFromTheProtocolListAndNoneOrBadIndexNamesNoDriver)
{
    ZERD_INFO_BLK block = MakeDefaultSettingsBlock(3);
    block.camera.ptzProtocol[0] = 1;
    block.camera.ptzAddress[0] = 12;
    block.camera.ptzProtocol[1] = 2;
    block.camera.ptzProtocol[2] = 19;
    block.camera.ptzProtocol[3] = 20;  // beyond the list
    block.camera.ptzAddress[4] = 9;    // "None" keeps its address
    EXPECT_EQ(PtzSettingOf(block, 0).driverName, "PTZ_PELCOD");
    EXPECT_EQ(PtzSettingOf(block, 0).ptzId, 12);
    EXPECT_EQ(PtzSettingOf(block, 1).driverName, "PTZ_PELCO");
    EXPECT_EQ(PtzSettingOf(block, 2).driverName, "PTZ_ORX-1000");
    EXPECT_EQ(PtzSettingOf(block, 3).driverName, "");
    EXPECT_EQ(PtzSettingOf(block, 4).driverName, "");
    EXPECT_EQ(PtzSettingOf(block, 4).ptzId, 9);
    EXPECT_EQ(PtzSettingOf(block, 16).driverName, "");
    EXPECT_EQ(PtzSettingOf(block, -1).driverName, "");
}

}  // namespace
