#include "core/setup/ScheduleGrid.h"

#include <algorithm>
#include <cstring>

#include "core/dvr/SettingsLists.h"

std::uint8_t ScheduleValueOfLetter(char letter)
{
    for (std::uint8_t value = 0; value < 4; ++value)
        if (kScheduleLetters[value] == letter)
            return value;
    return static_cast<std::uint8_t>(ScheduleMode::None);
}

char ScheduleLetterOfValue(std::uint8_t value)
{
    return value < std::size(kScheduleLetters) ? kScheduleLetters[value] : 0;
}

void ScheduleGrid::Set(int row, int hour, bool checked, char letter)
{
    m_cells[row][hour] = {checked, letter};
}

void ScheduleGrid::Clear()
{
    for (Row& row : m_cells)
        row.fill({});
    m_rowAll.fill(false);
}

void ScheduleGrid::ShowCamera(const DvrScheduleSection& section, int camera)
{
    Clear();
    for (int row = 1; row < kScheduleRows; ++row)
        for (int hour = 0; hour < static_cast<int>(kScheduleHours); ++hour) {
            const char letter = ScheduleLetterOfValue(section.mode[camera][row - 1][hour]);
            if (letter)
                Set(row, hour, true, letter);
        }
}

void ScheduleGrid::StoreCamera(DvrScheduleSection& section, int camera) const
{
    for (int row = 1; row < kScheduleRows; ++row)
        for (int hour = 0; hour < static_cast<int>(kScheduleHours); ++hour)
            section.mode[camera][row - 1][hour] = ScheduleValueOfLetter(m_cells[row][hour].letter);
}

void ScheduleGrid::Apply(int row, int hour, bool checked, char letter)
{
    if (row == kEverydayRow) {
        for (int r = 0; r < kScheduleRows; ++r)
            Set(r, hour, checked, checked ? letter : 0);
        return;
    }
    Set(row, hour, checked, checked ? letter : 0);
    m_cells[kEverydayRow][hour].checked = false;
}

bool ScheduleGrid::ClickCell(int row, int hour, bool nowChecked, char mode)
{
    if (!mode) {
        for (Row& cells : m_cells)
            for (ScheduleCell& cell : cells)
                if (!cell.letter)
                    cell.checked = false;
        // Only an uncheck is carried out: an empty "Everyday" cell clicked
        // without a mode must not wipe its hour on every day.
        if (!nowChecked)
            Apply(row, hour, false, 0);
        return false;
    }
    Apply(row, hour, nowChecked, mode);
    return true;
}

void ScheduleGrid::ClickRowAll(int row, bool nowChecked, char mode)
{
    if (row == kEverydayRow) {
        for (int r = 0; r < kScheduleRows; ++r) {
            for (int hour = 0; hour < static_cast<int>(kScheduleHours); ++hour)
                Set(r, hour, nowChecked, nowChecked ? mode : 0);
            m_rowAll[r] = nowChecked;
        }
        return;
    }
    for (ScheduleCell& cell : m_cells[kEverydayRow])
        cell.checked = false;
    m_rowAll[kEverydayRow] = false;
    m_rowAll[row] = nowChecked;
    for (int hour = 0; hour < static_cast<int>(kScheduleHours); ++hour)
        Set(row, hour, nowChecked, nowChecked ? mode : 0);
}

bool ScheduleGrid::PaintCell(int row, int hour, char mode)
{
    if (!mode)
        return false;
    return ClickCell(row, hour, true, mode);
}

void CopyScheduleWeek(DvrScheduleSection& section, int sourceCamera, int from, int to)
{
    if (sourceCamera < 0 || sourceCamera >= static_cast<int>(kMaxChannels))
        return;
    const int first = std::max(from, 1) - 1;
    const int last = std::min(to, static_cast<int>(kMaxChannels)) - 1;
    for (int camera = first; camera <= last; ++camera)
        if (camera != sourceCamera)
            std::memcpy(section.mode[camera], section.mode[sourceCamera], sizeof section.mode[camera]);
}

void SetScheduleDefaults(DvrScheduleSection& section)
{
    std::memset(section.mode, 0, sizeof section.mode);
}

ScheduleLimits ScheduleModelLimits(std::uint8_t dvrTypeCode)
{
    switch (dvrTypeCode) {
    case 1: return {4, true};
    case 2: return {8, false};
    case 5:
    case 6: return {4, false};
    default: return {16, false};
    }
}
