#include "core/viewer/ViewerShortcutTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

TEST(ViewerShortcutTable, EveryKeyIsDistinctAndLeavesPtzAndLogViewerKeysFree)
{
    // Keys other panels own: PTZ moves, zoom and presets, and the Log Viewer.
    const std::set<std::string> taken{"Left", "Right", "Up", "Down", "+", "-", "1", "2", "3", "4", "5",
                                      "6",    "7",     "8",  "9",    "0", "Ctrl+L", "Esc", "Escape"};
    std::set<std::string> keys;
    std::set<int> ids;
    for (const ViewerShortcut& s : ViewerShortcuts()) {
        EXPECT_TRUE(keys.insert(s.keys).second) << s.keys;
        EXPECT_TRUE(ids.insert(s.ctrlId).second) << s.ctrlId;
        EXPECT_FALSE(taken.count(s.keys)) << s.keys;
        EXPECT_NE(std::string(s.what), "");
    }
    // Layouts 1, 4, 8, 9, 16, full screen, capture, live on and off.
    for (int id : {4001, 4002, 4003, 4004, 4005, 4006, 233, 209, 231})
        EXPECT_TRUE(ids.count(id)) << id;
    // The arrows, shared with the PTZ keys, move the selected pane: one direction each.
    std::map<std::string, PaneDirection> arrows;
    for (const PaneMoveKey& k : PaneMoveKeys())
        arrows[k.keys] = k.direction;
    EXPECT_EQ(arrows, (std::map<std::string, PaneDirection>{{"Left", PaneDirection::Left},
                                                            {"Right", PaneDirection::Right},
                                                            {"Up", PaneDirection::Up},
                                                            {"Down", PaneDirection::Down}}));
}
