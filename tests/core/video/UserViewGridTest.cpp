#include "core/video/UserViewGrid.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

using State = UserViewGrid::State;

// Cells in the given state, as a mask (bit row * 4 + column).
std::uint16_t CellsIn(const UserViewGrid& grid, State state)
{
    std::uint16_t mask = 0;
    for (int index = 0; index < 16; ++index)
        if (grid.At({index % 4, index / 4}) == state)
            mask |= static_cast<std::uint16_t>(1u << index);
    return mask;
}

// A press, moves over the cells in turn, and a release on the last one.
void Drag(UserViewGrid& grid, std::initializer_list<GridCell> path)
{
    grid.Press(*path.begin());
    for (GridCell cell : path)
        grid.Move(cell);
    grid.Release(*(path.end() - 1));
}

TEST(UserViewGrid, SquareBandFollowsThePointerAndBecomesAPaneOnRelease)
{
    UserViewGrid grid;
    grid.Press(GridCell{3, 1});
    EXPECT_TRUE(grid.Dragging());
    EXPECT_EQ(CellsIn(grid, State::Band), 1u << 7);
    grid.Move(GridCell{2, 1});  // 1 x 2: not square, dropped
    EXPECT_EQ(CellsIn(grid, State::Band), 0u);
    grid.Move(GridCell{2, 0});  // square again
    EXPECT_EQ(CellsIn(grid, State::Band), (CellBlock{2, 0, 3, 1}.Mask()));
    grid.Release(GridCell{2, 0});
    EXPECT_FALSE(grid.Dragging());
    EXPECT_EQ(CellsIn(grid, State::Band), 0u);
    EXPECT_EQ(CellsIn(grid, State::Pane), 204u);
    ASSERT_EQ(grid.Panes().size(), 1u);
    EXPECT_EQ(grid.Panes()[0].block, (CellBlock{2, 0, 3, 1}));
    EXPECT_EQ(grid.Panes()[0].start, (GridCell{3, 1}));
}

TEST(UserViewGrid, OnlySquareBandsOfMoreThanOneCellBecomePanes)
{
    UserViewGrid grid;
    Drag(grid, {{0, 0}, {1, 0}, {1, 2}});  // 2 x 3
    Drag(grid, {{2, 2}});                  // a click
    Drag(grid, {{3, 3}, {2, 3}});          // 2 x 1
    EXPECT_TRUE(grid.Panes().empty());
    EXPECT_EQ(CellsIn(grid, State::Free), 0xFFFFu);
    // The release decides, whatever the last move showed.
    grid.Press(GridCell{0, 0});
    grid.Move(GridCell{1, 1});
    grid.Release(GridCell{1, 2});
    EXPECT_TRUE(grid.Panes().empty());
}

TEST(UserViewGrid, BandOverAPaneIsDroppedAndAPressOnAPaneDrawsNothing)
{
    UserViewGrid grid;
    Drag(grid, {{0, 0}, {1, 1}});
    ASSERT_EQ(grid.Panes().size(), 1u);
    // From a free cell towards the pane: the band goes as it touches it.
    grid.Press(GridCell{2, 2});
    grid.Move(GridCell{1, 1});
    EXPECT_EQ(CellsIn(grid, State::Band), 0u);
    grid.Move(GridCell{3, 3});
    EXPECT_EQ(CellsIn(grid, State::Band), (CellBlock{2, 2, 3, 3}.Mask()));
    grid.Move(GridCell{0, 0});  // 3 x 3 would cover the pane
    EXPECT_EQ(CellsIn(grid, State::Band), 0u);
    grid.Release(GridCell{0, 0});
    EXPECT_EQ(grid.Panes().size(), 1u);
    grid.Press(GridCell{1, 0});
    grid.Move(GridCell{2, 1});  // square but overlapping the pane at (1,0)
    EXPECT_EQ(CellsIn(grid, State::Band), 0u);
    grid.Release(GridCell{2, 1});
    EXPECT_EQ(grid.Panes().size(), 1u);

    grid.Press(GridCell{1, 1});
    EXPECT_FALSE(grid.Dragging());
    grid.Move(GridCell{3, 3});
    grid.Release(GridCell{3, 3});
    EXPECT_EQ(grid.Panes().size(), 1u);
    EXPECT_EQ(CellsIn(grid, State::Pane), 51u);
}

TEST(UserViewGrid, LeavingTheGridDropsOnlyTheBand)
{
    UserViewGrid grid;
    Drag(grid, {{0, 0}, {1, 1}});
    grid.Press(GridCell{2, 2});
    grid.Move(GridCell{3, 3});
    grid.Leave();
    EXPECT_FALSE(grid.Dragging());
    EXPECT_EQ(CellsIn(grid, State::Band), 0u);
    EXPECT_EQ(CellsIn(grid, State::Pane), 51u);
    ASSERT_EQ(grid.Panes().size(), 1u);
    grid.Release(GridCell{3, 3});  // the button comes up after the drag ended
    EXPECT_EQ(grid.Panes().size(), 1u);
}

TEST(UserViewGrid, PressOffTheCellsAndClearStartOver)
{
    UserViewGrid grid;
    grid.Press(std::nullopt);  // the strip beyond the last whole cells
    EXPECT_FALSE(grid.Dragging());
    Drag(grid, {{0, 0}, {1, 1}});
    Drag(grid, {{2, 2}, {3, 3}});
    grid.Press(GridCell{2, 0});
    grid.Move(GridCell{3, 1});
    grid.Move(std::nullopt);  // on no cell: the band stays
    EXPECT_EQ(CellsIn(grid, State::Band), (CellBlock{2, 0, 3, 1}.Mask()));
    grid.Clear();
    EXPECT_FALSE(grid.Dragging());
    EXPECT_TRUE(grid.Panes().empty());
    EXPECT_EQ(CellsIn(grid, State::Free), 0xFFFFu);
}

TEST(UserViewGrid, WholeGridAndFourQuadrantsFitButNoFifthPane)
{
    UserViewGrid whole;
    Drag(whole, {{3, 3}, {2, 2}, {1, 1}, {0, 0}});
    ASSERT_EQ(whole.Panes().size(), 1u);
    EXPECT_EQ(whole.Panes()[0].block.Mask(), 0xFFFF);
    EXPECT_EQ(whole.Panes()[0].start, (GridCell{3, 3}));

    UserViewGrid quadrants;
    for (GridCell corner : {GridCell{0, 0}, GridCell{2, 0}, GridCell{0, 2}, GridCell{2, 2}})
        Drag(quadrants, {corner, {corner.column + 1, corner.row + 1}});
    EXPECT_EQ(quadrants.Panes().size(), 4u);
    EXPECT_EQ(CellsIn(quadrants, State::Pane), 0xFFFFu);
}

} // namespace
