#pragma once

#include <optional>
#include <string_view>

#include "core/status/CpuTicks.h"

// Processor load between two readings of /proc/stat: the busy share of the
// ticks that passed, as an integer percent.
class CpuLoadSampler {
public:
    // What a reading that gives no load value returns.
    static constexpr int kFailure = -999;

    // Takes the text of /proc/stat and returns the load since the previous
    // usable reading (0..100), or kFailure when the text is unusable, when
    // there is no earlier reading yet, or when no ticks passed. An unusable
    // text keeps the earlier reading as the base of the next one.
    int Sample(std::string_view procStat);

private:
    std::optional<CpuTicks> m_last;
};
