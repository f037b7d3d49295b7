#include "core/video/LostSignalWatch.h"

namespace {

bool Has(std::uint16_t mask, int pane)
{
    return ((mask >> pane) & 1u) != 0;
}

} // namespace

void LostSignalWatch::Watch(std::uint16_t livePanes, Clock::time_point now)
{
    for (int p = 0; p < kPanes; ++p) {
        if (Has(livePanes, p) && !Has(m_watched, p)) {
            m_panes[p] = Pane{};
            m_panes[p].since = now;
        } else if (!Has(livePanes, p)) {
            m_panes[p] = Pane{};
        }
    }
    m_watched = livePanes;
}

void LostSignalWatch::Sample(int pane, std::uint64_t pictures, Clock::time_point now, std::time_t wallNow)
{
    if (pane < 0 || pane >= kPanes || !Has(m_watched, pane))
        return;
    Pane& p = m_panes[pane];
    // The first sample is the baseline: the count may hold pictures of an
    // earlier stream on this channel.
    if (p.pictures && *p.pictures != pictures) {
        p.since = now;
        p.lastPicture = wallNow;
    }
    p.pictures = pictures;
}

std::uint16_t LostSignalWatch::StalePanes(Clock::time_point now) const
{
    std::uint16_t stale = 0;
    for (int p = 0; p < kPanes; ++p)
        if (Has(m_watched, p) && now - m_panes[p].since >= kNoSignalAfter)
            stale = static_cast<std::uint16_t>(stale | (1u << p));
    return stale;
}

std::optional<std::time_t> LostSignalWatch::LastPictureTime(int pane) const
{
    if (pane < 0 || pane >= kPanes)
        return std::nullopt;
    return m_panes[pane].lastPicture;
}
