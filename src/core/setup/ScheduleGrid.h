#pragma once

#include <array>
#include <cstdint>

#include "core/dvr/ZerdInfoBlock.h"

// The Schedule page's 8 x 24 cells as the operator sees them: row 0 is
// "Everyday", rows 1..7 are Sunday..Saturday (day row - 1 of the schedule
// section). A cell is checked or not and shows a mode letter ("C", "M", "D",
// "S", "X") or nothing. Row 0 is never stored.
struct ScheduleCell {
    bool checked = false;
    char letter = 0; // 0: empty
    bool operator==(const ScheduleCell&) const = default;
};

inline constexpr int kScheduleRows = 8;
inline constexpr int kEverydayRow = 0;

// Schedule value of a cell's letter: C 0, M 1, D 2, S 3; "X", empty or
// anything else 4 (none).
std::uint8_t ScheduleValueOfLetter(char letter);
// The letter of a stored value; 0 (empty) for a value outside 0..4.
char ScheduleLetterOfValue(std::uint8_t value);

class ScheduleGrid {
public:
    using Row = std::array<ScheduleCell, kScheduleHours>;

    const ScheduleCell& Cell(int row, int hour) const { return m_cells[row][hour]; }
    bool RowAllChecked(int row) const { return m_rowAll[row]; }

    // Every cell unchecked and empty, every row button unchecked.
    void Clear();
    // Clear, then the day rows from the camera's week; a value outside 0..4
    // leaves its cell cleared.
    void ShowCamera(const DvrScheduleSection& section, int camera);
    // The day rows into the camera's week.
    void StoreCamera(DvrScheduleSection& section, int camera) const;

    // A cell was clicked; `nowChecked` is its state after the click and
    // `mode` the checked mode's letter (0: no mode chosen). Without a mode
    // every empty cell is unchecked, a click that unchecked a cell still
    // empties it (its hour on every day for "Everyday"), nothing is set and
    // false is returned (the page tells the operator to choose a mode).
    bool ClickCell(int row, int hour, bool nowChecked, char mode);
    // A row's "All" button was clicked; `nowChecked` is its state after.
    void ClickRowAll(int row, bool nowChecked, char mode);
    // A press dragged across a cell: it takes the mode (a day cell) as if
    // clicked to checked. False without a mode.
    bool PaintCell(int row, int hour, char mode);

private:
    void Set(int row, int hour, bool checked, char letter);
    // A click's effect: a day cell takes the letter (or is emptied) and
    // releases its hour's "Everyday" cell; an "Everyday" cell does so for
    // its hour on every row.
    void Apply(int row, int hour, bool checked, char letter);

    std::array<Row, kScheduleRows> m_cells{};
    std::array<bool, kScheduleRows> m_rowAll{};
};

// "Copy": the source camera's week (0-based) over every camera from `from`
// to `to` (1-based, as the operator numbers them) except the source. Camera
// numbers outside 1..16 are left out.
void CopyScheduleWeek(DvrScheduleSection& section, int sourceCamera, int from, int to);

// "Default": every byte 0 (continuous).
void SetScheduleDefaults(DvrScheduleSection& section);

// How many camera buttons (from the first) the model leaves enabled, and
// whether the page's model-limit flag is set (MODEL_A).
struct ScheduleLimits {
    int enabledCameras = 16;
    bool modelLimitFlag = false;
    bool operator==(const ScheduleLimits&) const = default;
};
ScheduleLimits ScheduleModelLimits(std::uint8_t dvrTypeCode);
