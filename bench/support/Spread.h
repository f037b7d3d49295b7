#pragma once

#include <cstddef>
#include <vector>

namespace benchsupport {

// Median, 99th percentile (nearest rank) and largest of a set of figures.
struct Spread {
    std::size_t count = 0;
    double p50 = 0;
    double p99 = 0;
    double max = 0;
};

Spread SpreadOf(std::vector<double> values);

} // namespace benchsupport
