#include "core/viewer/ViewerShortcutTable.h"

#include "core/video/LayoutGeometry.h"

namespace {

constexpr int kLiveOn = 209;
constexpr int kLiveOff = 231;
constexpr int kCapture = 233;

constexpr ViewerShortcut kShortcuts[] = {
    {"F5", kBtnLayoutSingle, "One pane"},
    {"F6", kBtnLayoutQuad, "Four panes"},
    {"F7", kBtnLayoutEight, "Eight panes"},
    {"F8", kBtnLayoutNine, "Nine panes"},
    {"F9", kBtnLayoutSixteen, "Sixteen panes"},
    {"F11", kBtnFullScreen, "Full screen on or off (Escape leaves it)"},
    {"F12", kCapture, "Capture the selected pane"},
    {"F2", kLiveOn, "Live on"},
    {"F3", kLiveOff, "Live off"},
};

constexpr PaneMoveKey kPaneMoveKeys[] = {
    {"Left", PaneDirection::Left},
    {"Right", PaneDirection::Right},
    {"Up", PaneDirection::Up},
    {"Down", PaneDirection::Down},
};

} // namespace

std::span<const ViewerShortcut> ViewerShortcuts()
{
    return kShortcuts;
}

std::span<const PaneMoveKey> PaneMoveKeys()
{
    return kPaneMoveKeys;
}
