#include "core/viewer/PaneNeighbour.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool Usable(const PaneLayout& panes, std::uint16_t usable, int channel)
{
    if (channel < 0 || channel >= kPaneCount || ((usable >> channel) & 1u) == 0)
        return false;
    const PaneRect& r = panes[static_cast<std::size_t>(channel)];
    return r.Width() > 1 && r.Height() > 1;  // hidden panes are a pixel or less
}

int FirstInReadingOrder(const PaneLayout& panes, std::uint16_t usable)
{
    int first = -1;
    for (int ch = 0; ch < kPaneCount; ++ch) {
        if (!Usable(panes, usable, ch))
            continue;
        const PaneRect& r = panes[static_cast<std::size_t>(ch)];
        const PaneRect* best = first < 0 ? nullptr : &panes[static_cast<std::size_t>(first)];
        if (!best || r.top < best->top || (r.top == best->top && r.left < best->left))
            first = ch;
    }
    return first;
}

// How far `to` lies beyond `from`'s edge on that side; negative when it does not.
int Gap(const PaneRect& from, const PaneRect& to, PaneDirection direction)
{
    switch (direction) {
    case PaneDirection::Left: return from.left - to.right;
    case PaneDirection::Right: return to.left - from.right;
    case PaneDirection::Up: return from.top - to.bottom;
    case PaneDirection::Down: return to.top - from.bottom;
    }
    return -1;
}

bool Across(PaneDirection direction)
{
    return direction == PaneDirection::Left || direction == PaneDirection::Right;
}

// Rows (across) or columns the two panes share, in pixels.
int Shared(const PaneRect& a, const PaneRect& b, PaneDirection direction)
{
    return Across(direction) ? std::min(a.bottom, b.bottom) - std::max(a.top, b.top)
                             : std::min(a.right, b.right) - std::max(a.left, b.left);
}

// Twice the distance between the panes' middles along the shared side.
int MiddleOffset(const PaneRect& a, const PaneRect& b, PaneDirection direction)
{
    return Across(direction) ? std::abs((a.top + a.bottom) - (b.top + b.bottom))
                             : std::abs((a.left + a.right) - (b.left + b.right));
}

} // namespace

int PaneNeighbour(const PaneLayout& panes, std::uint16_t usable, int from, PaneDirection direction)
{
    if (!Usable(panes, usable, from))
        return FirstInReadingOrder(panes, usable);
    const PaneRect& origin = panes[static_cast<std::size_t>(from)];
    int best = from;
    int bestGap = 0;
    int bestOffset = 0;
    for (int ch = 0; ch < kPaneCount; ++ch) {
        if (ch == from || !Usable(panes, usable, ch))
            continue;
        const PaneRect& r = panes[static_cast<std::size_t>(ch)];
        const int gap = Gap(origin, r, direction);
        if (gap < 0 || Shared(origin, r, direction) <= 0)
            continue;
        const int offset = MiddleOffset(origin, r, direction);
        if (best == from || gap < bestGap || (gap == bestGap && offset < bestOffset)) {
            best = ch;
            bestGap = gap;
            bestOffset = offset;
        }
    }
    return best;
}
