#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/video/LayoutGeometry.h"
#include "core/video/UserViewGrid.h"

// A large pane of an applied user view: its channel and its place in the
// 800 x 600 video window.
struct PlacedPane {
    int channel = 0;
    PaneRect rect;
    bool operator==(const PlacedPane&) const = default;
};

// The large panes of a drawn view when its blocks make one of the known
// views (one block of 2 x 2, 3 x 3 or 4 x 4 cells, three 2 x 2 blocks in one
// of eight arrangements, or the four quadrants), whatever order they were
// drawn in; nullopt for any other drawing.
std::optional<std::vector<PlacedPane>> RecognizeUserView(const std::vector<DrawnPane>& panes);

// The window rectangle of a block of cells, 200 x 150 pixels a cell.
PaneRect BlockRect(const CellBlock& block);

// What applying a drawn view does to the sixteen channels.
struct UserViewLayout {
    PaneLayout panes;              // every channel's rectangle
    std::uint16_t placedMask = 0;  // channels shown in a large pane
    std::optional<int> selected;   // the channel of the last large pane
};

// Channels of a recognised view's large panes fill them; every cell outside
// the drawn blocks shows its own channel; the rest are hidden. A view that
// is not recognised places no large pane, so its blocks stay empty.
UserViewLayout ApplyUserView(const std::vector<DrawnPane>& panes);
