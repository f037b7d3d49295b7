#include "core/video/UserViewLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A 2 x 2 or larger block named by its top-left cell, drawn from `start`.
DrawnPane Block(int column, int row, int size, GridCell start)
{
    return {{column, row, column + size - 1, row + size - 1}, start};
}
DrawnPane Block(int column, int row, int size = 2)
{
    return Block(column, row, size, {column, row});
}

const DrawnPane A = Block(0, 0), B = Block(2, 0), C = Block(0, 2), D = Block(2, 2);
const DrawnPane E = Block(1, 2), F = Block(1, 0), G = Block(2, 1), H = Block(0, 1);

std::uint16_t Union(const std::vector<DrawnPane>& panes)
{
    std::uint16_t mask = 0;
    for (const DrawnPane& pane : panes)
        mask |= pane.block.Mask();
    return mask;
}

struct KnownView {
    std::string name;
    std::vector<DrawnPane> panes;
    std::uint16_t mask;
};

TEST(UserViewRecognition, EveryKnownViewIsRecognisedInEveryDrawingOrder)
{
    std::vector<KnownView> views = {
        {"A+B+C", {A, B, C}, 13311},  {"A+B+D", {A, B, D}, 52479},  {"A+C+D", {A, C, D}, 65331},
        {"B+C+D", {B, C, D}, 65484},  {"A+B+E", {A, B, E}, 26367},  {"C+D+F", {C, D, F}, 65382},
        {"B+D+H", {B, D, H}, 53244},  {"A+C+G", {A, C, G}, 16371},  {"A+B+C+D", {A, B, C, D}, 65535},
        {"whole grid", {Block(0, 0, 4, {3, 3})}, 65535},
    };
    const std::uint16_t threes[] = {1911, 3822, 30576, 61152};
    for (int k = 0; k < 4; ++k)
        views.push_back({"3x3 #" + std::to_string(k), {Block(k % 2, k / 2, 3)}, threes[k]});
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            views.push_back({"2x2 at " + std::to_string(column) + "," + std::to_string(row),
                             {Block(column, row)}, std::uint16_t(51u << (row * 4 + column))});

    for (KnownView& view : views) {
        EXPECT_EQ(Union(view.panes), view.mask) << view.name;
        std::sort(view.panes.begin(), view.panes.end(),
                  [](const DrawnPane& l, const DrawnPane& r) { return l.block.Mask() < r.block.Mask(); });
        do {
            const auto placed = RecognizeUserView(view.panes);
            ASSERT_TRUE(placed) << view.name;
            ASSERT_EQ(placed->size(), view.panes.size()) << view.name;
            for (std::size_t i = 0; i < placed->size(); ++i) {
                EXPECT_EQ((*placed)[i].channel, view.panes[i].start.Index()) << view.name;
                EXPECT_EQ((*placed)[i].rect, BlockRect(view.panes[i].block)) << view.name;
            }
        } while (std::next_permutation(view.panes.begin(), view.panes.end(), [](const DrawnPane& l, const DrawnPane& r) {
            return l.block.Mask() < r.block.Mask();
        }));
    }
}

TEST(UserViewRecognition, OtherDrawingsAreNotRecognised)
{
    const std::vector<std::vector<DrawnPane>> others = {
        {},
        {A, D},
        {B, C},
        {A, B},
        {A, G},                   // a 2 x 2 pair that is not a known view
        {F, C, D, Block(0, 0)},   // a fourth block over F
        {Block(0, 0, 3), Block(3, 3)},
        {E, F},
        {A, B, G},                // overlapping blocks never come from the grid, but are no view either
    };
    for (const auto& panes : others)
        EXPECT_FALSE(RecognizeUserView(panes)) << Union(panes);
}

TEST(UserViewRecognition, WindowRectanglesScaleCellsTo200By150)
{
    EXPECT_EQ(BlockRect({2, 0, 3, 1}), (PaneRect{400, 0, 800, 300}));
    EXPECT_EQ(BlockRect({1, 1, 3, 3}), (PaneRect{200, 150, 800, 600}));
    EXPECT_EQ(BlockRect({0, 0, 3, 3}), (PaneRect{0, 0, 800, 600}));
    EXPECT_EQ(BlockRect({0, 2, 0, 2}), (PaneRect{0, 300, 200, 450}));
}

TEST(UserViewApply, BlockDrawnFromCell31ShowsChannel7AndKeepsTheOtherCells)
{
    const UserViewLayout view = ApplyUserView({Block(2, 0, 2, {3, 1})});
    EXPECT_EQ(view.panes[7], (PaneRect{400, 0, 800, 300}));
    EXPECT_EQ(view.placedMask, 1u << 7);
    EXPECT_EQ(view.selected, 7);
    for (int hidden : {2, 3, 6})
        EXPECT_TRUE(view.panes[hidden].IsHidden()) << hidden;
    for (int channel : {0, 1, 4, 5, 8, 9, 10, 11, 12, 13, 14, 15})
        EXPECT_EQ(view.panes[channel], (PaneRect{200 * (channel % 4), 150 * (channel / 4), 200 * (channel % 4) + 200,
                                                 150 * (channel / 4) + 150}))
            << channel;
}

TEST(UserViewApply, UnrecognisedBlocksStayEmptyAndTheWholeGridShowsItsStartChannel)
{
    const UserViewLayout pair = ApplyUserView({A, D});
    EXPECT_EQ(pair.placedMask, 0u);
    EXPECT_FALSE(pair.selected);
    for (int channel = 0; channel < 16; ++channel)
        EXPECT_EQ(pair.panes[channel].IsHidden(), ((Union({A, D}) >> channel) & 1u) != 0) << channel;

    const UserViewLayout whole = ApplyUserView({Block(0, 0, 4, {3, 3})});
    EXPECT_EQ(whole.panes[15], (PaneRect{0, 0, 800, 600}));
    EXPECT_EQ(whole.selected, 15);
    for (int channel = 0; channel < 15; ++channel)
        EXPECT_TRUE(whole.panes[channel].IsHidden()) << channel;

    const UserViewLayout quadrants = ApplyUserView({C, A, D, Block(2, 0, 2, {2, 1})});
    EXPECT_EQ(quadrants.placedMask, (1u << 8) | (1u << 0) | (1u << 10) | (1u << 6));
    EXPECT_EQ(quadrants.selected, 6);  // the last drawn
    EXPECT_EQ(quadrants.panes[6], (PaneRect{400, 0, 800, 300}));

    const UserViewLayout nothing = ApplyUserView({});
    for (int channel = 0; channel < 16; ++channel)
        EXPECT_FALSE(nothing.panes[channel].IsHidden());
}

} // namespace
