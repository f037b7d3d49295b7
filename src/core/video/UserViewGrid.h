#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// A cell of the user-view grid: column and row, 0-3 each.
struct GridCell {
    int column = 0;
    int row = 0;

    // Cell number minus one, which is also the channel the cell stands for.
    int Index() const { return row * 4 + column; }
    bool operator==(const GridCell&) const = default;
};

// Cells from `from` to `to` as a block, corners in either order.
struct CellBlock {
    int left = 0;
    int top = 0;
    int right = 0;   // inclusive
    int bottom = 0;  // inclusive

    static CellBlock Spanning(GridCell from, GridCell to);
    bool IsSquare() const { return right - left == bottom - top; }
    bool IsSingleCell() const { return left == right && top == bottom; }
    // Bit (row * 4 + column) per cell.
    std::uint16_t Mask() const;
    bool operator==(const CellBlock&) const = default;
};

// One large pane drawn on the grid.
struct DrawnPane {
    CellBlock block;
    GridCell start;  // where the drag that drew it began: its channel
};

// The 4 x 4 editor of the user views: square blocks dragged over free cells
// become panes; everything else is the band being dragged.
class UserViewGrid {
public:
    static constexpr int kSize = 4;
    static constexpr int kMaxPanes = 4;

    enum class State : std::uint8_t { Free = 0, Band = 1, Pane = 3 };

    // Mouse down on a cell (nullopt: in the grid area but on no cell).
    void Press(std::optional<GridCell> cell);
    // Mouse move inside the grid area; a point on no cell keeps the band.
    void Move(std::optional<GridCell> cell);
    // The pointer left the grid area: the band goes, panes stay.
    void Leave();
    // Mouse up: a square band of more than one cell that covers no pane
    // becomes a pane; anything else is dropped.
    void Release(std::optional<GridCell> cell);
    // Back to an empty grid.
    void Clear();

    State At(GridCell cell) const { return m_cells[static_cast<std::size_t>(cell.Index())]; }
    bool Dragging() const { return m_start.has_value(); }
    const std::vector<DrawnPane>& Panes() const { return m_panes; }

private:
    bool coversPane(const CellBlock& block) const;
    void dropBand();
    void showBand(const CellBlock& block);

    std::array<State, kSize * kSize> m_cells{};
    std::optional<GridCell> m_start;     // set while dragging
    std::optional<GridCell> m_previous;  // the cell the pointer was last over
    std::vector<DrawnPane> m_panes;
};
