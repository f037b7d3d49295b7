#include "core/video/UserViewGrid.h"

#include <algorithm>

CellBlock CellBlock::Spanning(GridCell from, GridCell to)
{
    return {std::min(from.column, to.column), std::min(from.row, to.row), std::max(from.column, to.column),
            std::max(from.row, to.row)};
}

std::uint16_t CellBlock::Mask() const
{
    std::uint16_t mask = 0;
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column)
            mask |= static_cast<std::uint16_t>(1u << (row * UserViewGrid::kSize + column));
    return mask;
}

void UserViewGrid::Press(std::optional<GridCell> cell)
{
    if (!cell || At(*cell) == State::Pane) {
        m_start.reset();
        return;
    }
    m_start = m_previous = *cell;
    m_cells[static_cast<std::size_t>(cell->Index())] = State::Band;
}

void UserViewGrid::Move(std::optional<GridCell> cell)
{
    if (!m_start || !cell || cell == m_previous)
        return;
    m_previous = *cell;
    const CellBlock band = CellBlock::Spanning(*m_start, *cell);
    if (At(*cell) == State::Pane || !band.IsSquare() || coversPane(band)) {
        dropBand();
        return;
    }
    showBand(band);
}

void UserViewGrid::Leave()
{
    dropBand();
    m_start.reset();
    m_previous.reset();
}

void UserViewGrid::Release(std::optional<GridCell> cell)
{
    if (!m_start)
        return;
    const GridCell start = *m_start;
    Leave();
    if (!cell || static_cast<int>(m_panes.size()) >= kMaxPanes)
        return;
    const CellBlock block = CellBlock::Spanning(start, *cell);
    if (!block.IsSquare() || block.IsSingleCell() || coversPane(block))
        return;
    for (int row = block.top; row <= block.bottom; ++row)
        for (int column = block.left; column <= block.right; ++column)
            m_cells[static_cast<std::size_t>(GridCell{column, row}.Index())] = State::Pane;
    m_panes.push_back({block, start});
}

void UserViewGrid::Clear()
{
    m_cells.fill(State::Free);
    m_start.reset();
    m_previous.reset();
    m_panes.clear();
}

bool UserViewGrid::coversPane(const CellBlock& block) const
{
    for (const DrawnPane& pane : m_panes)
        if (pane.block.Mask() & block.Mask())
            return true;
    return false;
}

void UserViewGrid::dropBand()
{
    for (State& state : m_cells)
        if (state == State::Band)
            state = State::Free;
}

void UserViewGrid::showBand(const CellBlock& block)
{
    dropBand();
    for (int row = block.top; row <= block.bottom; ++row)
        for (int column = block.left; column <= block.right; ++column)
            m_cells[static_cast<std::size_t>(GridCell{column, row}.Index())] = State::Band;
}
