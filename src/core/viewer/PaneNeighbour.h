#pragma once

#include <cstdint>

#include "core/video/LayoutGeometry.h"

enum class PaneDirection { Left, Right, Up, Down };

// The pane an arrow key moves the selection to from pane `from`, among the
// panes whose bit is set in `usable` and that are shown. It is the nearest
// pane lying wholly beyond `from`'s edge on that side and sharing some of its
// rows (columns for up and down); of equally near ones, the one whose middle
// is nearest `from`'s (the big pane of the eight-pane layout leads to the
// middle of its neighbours), then the lowest channel. With none, `from`
// itself: the selection stops at the edge, it does not wrap.
// A `from` that is not usable leads to the first usable pane in reading
// order; -1 when there is none.
int PaneNeighbour(const PaneLayout& panes, std::uint16_t usable, int from, PaneDirection direction);
