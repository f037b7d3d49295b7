#include "core/status/LogFilterButtons.h"

LogFilterOutcome ClickLogFilter(LogFilterGroup group, bool endsChecked)
{
    LogFilterOutcome outcome;
    if (!endsChecked)
        return outcome;
    if (group == LogFilterGroup::All)
        outcome.checked.fill(true);
    else
        outcome.checked[static_cast<std::size_t>(group)] = true;
    outcome.listed = group;
    return outcome;
}

std::vector<std::size_t> EntriesInGroup(std::span<const LogEntry> entries, LogFilterGroup group)
{
    std::vector<std::size_t> listed;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int code = entries[i].eventCode;
        if (code >= 0 && code <= 255 && LogRecordInGroup(static_cast<std::uint8_t>(code), group))
            listed.push_back(i);
    }
    return listed;
}
