#pragma once

#include <optional>
#include <string>

#include "core/status/CpuLoadSampler.h"
#include "core/status/LoadStatistics.h"

// The host's processor-load counter over the kernel's tick counters.
// Open once, then Collect about once a second and read Value.
class CPerfMon {
public:
    explicit CPerfMon(std::string procStatPath = "/proc/stat");

    // True when the counter file can be read. Its first reading becomes the
    // base of the first load value, so the first Collect already gives one.
    bool Open();
    // Reads the counters again; false when the file cannot be read. A text
    // that cannot be used still counts as collected: Value says so.
    bool Collect();
    // Load over the last interval in percent, or CpuLoadSampler::kFailure.
    int Value() const { return m_value; }
    // Of the recent good values; empty while there is none.
    std::optional<LoadSummary> Statistics() const { return m_statistics.Summary(); }

private:
    std::optional<std::string> read() const;

    std::string m_path;
    CpuLoadSampler m_sampler;
    LoadStatistics m_statistics;
    int m_value = CpuLoadSampler::kFailure;
};
