#pragma once

#include <span>

#include "core/viewer/PaneNeighbour.h"

// The main window's keyboard shortcuts: each presses a button of the window
// (by control id) as a click would. The keys leave the arrows, + and -, the
// digits and Ctrl+L to the PTZ panel and the Log Viewer. Escape is not here:
// it only leaves full screen, and never closes the window.
struct ViewerShortcut {
    const char* keys;  // portable key sequence text, such as "F5" or "Ctrl+F2"
    int ctrlId;
    const char* what;  // the button's tooltip
};

std::span<const ViewerShortcut> ViewerShortcuts();

// The arrows move the selected pane while the PTZ panel is not shown (while
// it is, they steer the camera).
struct PaneMoveKey {
    const char* keys;
    PaneDirection direction;
};

std::span<const PaneMoveKey> PaneMoveKeys();
