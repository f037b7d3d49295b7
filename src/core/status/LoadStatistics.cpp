#include "core/status/LoadStatistics.h"

#include <algorithm>
#include <numeric>

void LoadStatistics::Add(int percent)
{
    if (m_values.size() == kWindow)
        m_values.pop_front();
    m_values.push_back(percent);
}

std::optional<LoadSummary> LoadStatistics::Summary() const
{
    if (m_values.empty())
        return std::nullopt;
    const auto [low, high] = std::minmax_element(m_values.begin(), m_values.end());
    const long long count = static_cast<long long>(m_values.size());
    const long long sum = std::accumulate(m_values.begin(), m_values.end(), 0LL);
    return LoadSummary{*low, *high, static_cast<int>((sum + count / 2) / count)};
}
