#include "core/video/UserViewLayout.h"

#include <algorithm>
#include <initializer_list>

namespace {

constexpr int kCellWidth = kVideoWindowWidth / UserViewGrid::kSize;
constexpr int kCellHeight = kVideoWindowHeight / UserViewGrid::kSize;

std::uint16_t Block(int column, int row, int size)
{
    return CellBlock{column, row, column + size - 1, row + size - 1}.Mask();
}

// The known views, each as the sorted masks of its blocks.
std::vector<std::vector<std::uint16_t>> KnownViews()
{
    std::vector<std::vector<std::uint16_t>> views;
    for (int size = 2; size <= UserViewGrid::kSize; ++size)
        for (int row = 0; row + size <= UserViewGrid::kSize; ++row)
            for (int column = 0; column + size <= UserViewGrid::kSize; ++column)
                views.push_back({Block(column, row, size)});
    const std::uint16_t a = Block(0, 0, 2), b = Block(2, 0, 2), c = Block(0, 2, 2), d = Block(2, 2, 2);
    const std::uint16_t e = Block(1, 2, 2), f = Block(1, 0, 2), g = Block(2, 1, 2), h = Block(0, 1, 2);
    const std::initializer_list<std::vector<std::uint16_t>> several = {
        {a, b, c}, {a, b, d}, {a, c, d}, {b, c, d}, {a, b, e}, {c, d, f}, {b, d, h}, {a, c, g}, {a, b, c, d}};
    for (std::vector<std::uint16_t> view : several) {
        std::sort(view.begin(), view.end());
        views.push_back(view);
    }
    return views;
}

} // namespace

PaneRect BlockRect(const CellBlock& block)
{
    return {block.left * kCellWidth, block.top * kCellHeight, (block.right + 1) * kCellWidth,
            (block.bottom + 1) * kCellHeight};
}

std::optional<std::vector<PlacedPane>> RecognizeUserView(const std::vector<DrawnPane>& panes)
{
    static const auto kKnown = KnownViews();
    std::vector<std::uint16_t> masks;
    for (const DrawnPane& pane : panes)
        masks.push_back(pane.block.Mask());
    std::sort(masks.begin(), masks.end());
    if (std::find(kKnown.begin(), kKnown.end(), masks) == kKnown.end())
        return std::nullopt;
    std::vector<PlacedPane> placed;
    for (const DrawnPane& pane : panes)
        placed.push_back({pane.start.Index(), BlockRect(pane.block)});
    return placed;
}

UserViewLayout ApplyUserView(const std::vector<DrawnPane>& panes)
{
    UserViewLayout out;
    out.panes.fill(kHiddenPane);
    std::uint16_t drawn = 0;
    for (const DrawnPane& pane : panes)
        drawn |= pane.block.Mask();
    for (int channel = 0; channel < kPaneCount; ++channel)
        if (!((drawn >> channel) & 1u)) {
            const GridCell cell{channel % UserViewGrid::kSize, channel / UserViewGrid::kSize};
            out.panes[static_cast<std::size_t>(channel)] = BlockRect(CellBlock::Spanning(cell, cell));
        }
    if (const auto placed = RecognizeUserView(panes)) {
        for (const PlacedPane& pane : *placed) {
            out.panes[static_cast<std::size_t>(pane.channel)] = pane.rect;
            out.placedMask |= static_cast<std::uint16_t>(1u << pane.channel);
            out.selected = pane.channel;
        }
    }
    return out;
}
