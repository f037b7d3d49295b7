#include "ui/viewer/SignalMonitor.h"

#include "ui/video/CRenderWnd.h"
#include "ui/viewer/ViewerVideo.h"

#include <QDateTime>

namespace {

std::string ClockText(std::optional<std::time_t> when)
{
    if (!when)
        return {};
    return QDateTime::fromSecsSinceEpoch(*when).toString("HH:mm:ss").toStdString();
}

} // namespace

SignalMonitor::SignalMonitor(ViewerVideo& video, QObject* parent)
    : QObject(parent)
    , m_video(video)
{
    m_timer.setInterval(kSampleMs);
    connect(&m_timer, &QTimer::timeout, this, &SignalMonitor::sample);
    m_timer.start();
}

void SignalMonitor::sample()
{
    const auto now = LostSignalWatch::Clock::now();
    const std::time_t wallNow = std::time(nullptr);
    std::uint16_t live;
    {
        std::lock_guard guard(m_video.overlay.lock);
        live = m_video.overlay.liveMask;
    }
    m_watch.Watch(static_cast<std::uint16_t>(live & m_video.occupiedPanes), now);
    for (int pane = 0; pane < LostSignalWatch::kPanes; ++pane)
        if ((m_watch.Watched() >> pane) & 1u)
            m_watch.Sample(pane, m_video.decoder.GetStats(pane).decoded, now, wallNow);

    const std::uint16_t stale = m_watch.StalePanes(now);
    if (stale == m_shown)
        return;
    {
        std::lock_guard guard(m_video.overlay.lock);
        m_video.overlay.noSignalMask = stale;
        for (int pane = 0; pane < LostSignalWatch::kPanes; ++pane)
            m_video.overlay.lastPictureTime[pane] = ClockText(m_watch.LastPictureTime(pane));
    }
    m_shown = stale;
    if (m_video.window)
        m_video.window->update();
}
