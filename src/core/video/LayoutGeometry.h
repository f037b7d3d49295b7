#pragma once

#include <array>

#include "core/video/PaneRect.h"

// Where each of the 16 decoder channels is drawn for a screen layout.

constexpr int kPaneCount = 16;
constexpr int kVideoWindowWidth = 800;
constexpr int kVideoWindowHeight = 600;

enum class LayoutMode : int { None = 0, Single = 1, Quad = 2, Nine = 3, Eight = 4, Sixteen = 5 };

using PaneLayout = std::array<PaneRect, kPaneCount>;

// Layout buttons of the screen-layout panel.
constexpr int kBtnLayoutSingle = 4001;
constexpr int kBtnLayoutQuad = 4002;
constexpr int kBtnLayoutEight = 4003;
constexpr int kBtnLayoutNine = 4004;
constexpr int kBtnLayoutSixteen = 4005;
constexpr int kBtnFullScreen = 4006;

// 4001..4005 to their mode; None for any other id.
LayoutMode LayoutModeForButton(int buttonId);
// The button that applies a mode; None (and out-of-range modes) get the sixteen-pane button,
// which is what a windowed re-apply of an unset mode shows.
int ButtonForLayoutMode(LayoutMode mode);

// Windowed layout in the 800 x 600 video window. The k-th pane shows channel
// (start + k) mod 16; the others are hidden. None is laid out as sixteen panes.
PaneLayout WindowedLayout(LayoutMode mode, int startChannel);
// Full-screen layout on a width x height screen; None is laid out as nine panes.
PaneLayout FullScreenLayout(LayoutMode mode, int startChannel, int width, int height);

// Layout for the paired four-channel recorders, which ignore the layout buttons.
struct PairedLayoutInput {
    int selectedChannel = 0;
    bool setupMode = false;        // camera setup borrows the window as a 320 x 240 preview
    bool perCameraStreams = false; // false: each picture carries two cameras side by side
    bool fullScreen = false;
    int width = kVideoWindowWidth;   // screen size, used in full screen
    int height = kVideoWindowHeight;
};
PaneLayout PairedLayout(const PairedLayoutInput& input);
