#include "core/status/CpuLoadSampler.h"

#include <algorithm>
#include <cmath>
#include <utility>

int CpuLoadSampler::Sample(std::string_view procStat)
{
    const std::optional<CpuTicks> now = ParseCpuTicks(procStat);
    if (!now)
        return kFailure;
    const std::optional<CpuTicks> before = std::exchange(m_last, now);
    // Counters that went back (the file was replaced, processors went off
    // line) say nothing about the interval: start over from this reading.
    if (!before || now->total <= before->total)
        return kFailure;

    const uint64_t passed = now->total - before->total;
    // Idle time can step back a little on tickless kernels; the busy share
    // stays within 0..100 regardless.
    const uint64_t idle = now->idle > before->idle ? std::min(now->idle - before->idle, passed) : 0;
    const long double busy = static_cast<long double>(passed - idle);
    return static_cast<int>(std::lround(busy * 100.0L / static_cast<long double>(passed)));
}
