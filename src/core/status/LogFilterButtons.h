#pragma once

#include "core/dvr/LogEventText.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

// The Log Viewer's ten push-like filter buttons (ids 1200..1209, in the
// order of LogFilterGroup) and what a click on one of them leaves checked
// and listed.

constexpr int kLogFilterButtonCount = 10;

using LogFilterChecks = std::array<bool, kLogFilterButtonCount>;

struct LogFilterOutcome {
    LogFilterChecks checked{};
    std::optional<LogFilterGroup> listed;  // empty: the list view stays empty

    bool operator==(const LogFilterOutcome&) const = default;
};

// `group`'s button was clicked and ended checked (true) or unchecked.
LogFilterOutcome ClickLogFilter(LogFilterGroup group, bool endsChecked);

// Indexes of the entries `group` lists, in order.
std::vector<std::size_t> EntriesInGroup(std::span<const LogEntry> entries, LogFilterGroup group);
