#include "core/status/BarChartLayout.h"

#include <algorithm>
#include <cmath>

BarChartLayout::BarChartLayout(int height)
    : m_height(height), m_count(std::max(0, (height - 2 * kMargin + kGap) / (kSegmentHeight + kGap)))
{
}

int BarChartLayout::SegmentTop(int index) const
{
    return m_height - kMargin - (index + 1) * kSegmentHeight - index * kGap;
}

int BarChartLayout::LitCount(double position, double minimum, double maximum) const
{
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || !(maximum > minimum) || !(position > minimum))
        return 0;
    if (position >= maximum)
        return m_count;
    // Multiplying first keeps exact fractions exact (14 * 50 / 100 is 7, not 6.99...).
    const double lit = std::floor(m_count * (position - minimum) / (maximum - minimum));
    return std::clamp(static_cast<int>(lit), 0, m_count);
}
