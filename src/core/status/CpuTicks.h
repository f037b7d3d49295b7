#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The kernel's cumulative processor tick counters summed over all processors:
// the first "cpu" line of /proc/stat ("cpu  user nice system idle iowait irq
// softirq steal guest guest_nice").
struct CpuTicks {
    uint64_t idle = 0;   // idle + iowait: time no work ran
    uint64_t total = 0;  // every field up to steal; guest time is already in user and nice
};

// Finds the aggregate "cpu" line and reads it. Needs at least the first four
// counters; any token that is not a decimal number, or a sum that would not fit
// in 64 bits, makes the line unusable.
std::optional<CpuTicks> ParseCpuTicks(std::string_view procStat);
