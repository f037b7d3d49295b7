#include "core/viewer/PaneNeighbour.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint16_t kAll = 0xFFFF;
using D = PaneDirection;

struct Move {
    int from;
    D direction;
    int to;
};

void ExpectMoves(const PaneLayout& panes, std::uint16_t usable, std::initializer_list<Move> moves)
{
    for (const Move& m : moves)
        EXPECT_EQ(PaneNeighbour(panes, usable, m.from, m.direction), m.to)
            << "from " << m.from << " direction " << static_cast<int>(m.direction);
}

TEST(PaneNeighbour, GridsMoveOneCellAndStopAtTheEdges)
{
    // Sixteen panes starting at channel 14: reading order 14, 15, 0, 1, 2, ...
    ExpectMoves(WindowedLayout(LayoutMode::Sixteen, 14), kAll,
                {{14, D::Right, 15}, {15, D::Right, 0}, {1, D::Right, 1}, {14, D::Left, 14}, {14, D::Up, 14},
                 {14, D::Down, 2}, {2, D::Up, 14}, {10, D::Down, 10}, {7, D::Down, 11}});
    // The nine-pane cells are a pixel wider than a third; full screen divides the screen.
    ExpectMoves(WindowedLayout(LayoutMode::Nine, 0), kAll, {{0, D::Right, 1}, {4, D::Up, 1}, {8, D::Right, 8}});
    ExpectMoves(FullScreenLayout(LayoutMode::Quad, 0, 1366, 768), kAll,
                {{0, D::Right, 1}, {0, D::Down, 2}, {3, D::Left, 2}, {3, D::Up, 1}, {1, D::Right, 1}});
    // One pane: nowhere to go.
    for (D d : {D::Left, D::Right, D::Up, D::Down})
        EXPECT_EQ(PaneNeighbour(WindowedLayout(LayoutMode::Single, 5), kAll, 5, d), 5);
}

TEST(PaneNeighbour, TheEightPaneLayoutMovesGeometrically)
{
    // Large pane 10; right column 11, 12, 13; bottom row 14, 15, 0, 1.
    for (const PaneLayout& panes : {WindowedLayout(LayoutMode::Eight, 10), FullScreenLayout(LayoutMode::Eight, 10, 1366, 768)})
        ExpectMoves(panes, kAll,
                    {{10, D::Right, 12}, {10, D::Down, 15}, {10, D::Left, 10}, {10, D::Up, 10}, {11, D::Left, 10},
                     {13, D::Left, 10}, {14, D::Up, 10}, {0, D::Up, 10}, {13, D::Down, 1}, {1, D::Up, 13},
                     {11, D::Down, 12}, {0, D::Right, 1}, {1, D::Down, 1}});
    // The two cameras of a paired recorder's picture, one above the other.
    ExpectMoves(PairedLayout({}), kAll, {{0, D::Down, 1}, {1, D::Up, 0}, {0, D::Right, 0}});
}

TEST(PaneNeighbour, OnlyPanesInUseAreChosenAndAStaleSelectionStartsAtTheFirst)
{
    const PaneLayout sixteen = WindowedLayout(LayoutMode::Sixteen, 0);
    // Channels 0, 1, 3 and 6 live: a gap in the row is passed over; a column
    // with nothing in use below is an edge.
    const std::uint16_t live = 0b0100'1011;
    ExpectMoves(sixteen, live, {{1, D::Right, 3}, {3, D::Left, 1}, {0, D::Down, 0}, {3, D::Down, 3}, {6, D::Up, 6}});
    ExpectMoves(sixteen, live | 1u << 2, {{6, D::Up, 2}, {2, D::Down, 6}});
    // The selected channel is hidden by the layout or not live: the first
    // live pane in reading order, whatever the key.
    const PaneLayout quad = WindowedLayout(LayoutMode::Quad, 2);  // 2, 3 / 4, 5
    EXPECT_EQ(PaneNeighbour(quad, kAll, 9, D::Left), 2);
    EXPECT_EQ(PaneNeighbour(quad, 0b110000, 2, D::Down), 4);
    EXPECT_EQ(PaneNeighbour(quad, 0, 2, D::Down), -1);
    EXPECT_EQ(PaneNeighbour(quad, kAll, -1, D::Up), 2);
}

} // namespace
