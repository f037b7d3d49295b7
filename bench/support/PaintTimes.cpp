#include "bench/support/PaintTimes.h"

#include <algorithm>

namespace benchsupport {
namespace {

uint64_t Key(int channel, int64_t pts)
{
    // A PTS has 33 bits.
    return (uint64_t(channel) << 40) | (uint64_t(pts) & ((uint64_t{1} << 40) - 1));
}

} // namespace

void PaintTimes::Painted(int channel, int64_t pts)
{
    const Clock::time_point now = Clock::now();
    if (channel < 0 || channel >= kChannels)
        return;
    if (!m_firstByChannel[channel])
        m_firstByChannel[channel] = now;
    if (pts >= 0)
        m_pictures.emplace(Key(channel, pts), now);  // a picture painted again keeps its first time
}

std::optional<PaintTimes::Clock::time_point> PaintTimes::FirstPaint(int channel, int64_t pts) const
{
    const auto found = m_pictures.find(Key(channel, pts));
    if (found == m_pictures.end())
        return std::nullopt;
    return found->second;
}

int PaintTimes::ChannelsShowing() const
{
    return int(std::count_if(m_firstByChannel.begin(), m_firstByChannel.end(),
                             [](const auto& first) { return first.has_value(); }));
}

std::optional<PaintTimes::Clock::time_point> PaintTimes::FirstOfAnyChannel() const
{
    std::optional<Clock::time_point> first;
    for (const auto& time : m_firstByChannel) {
        if (time && (!first || *time < *first))
            first = time;
    }
    return first;
}

std::optional<PaintTimes::Clock::time_point> PaintTimes::FirstOfEveryChannel() const
{
    if (ChannelsShowing() < kChannels)
        return std::nullopt;
    return *std::max_element(m_firstByChannel.begin(), m_firstByChannel.end());
}

} // namespace benchsupport
