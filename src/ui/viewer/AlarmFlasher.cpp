#include "ui/viewer/AlarmFlasher.h"

#include "core/video/ChannelAssignment.h"
#include "ui/app/WindowTimers.h"
#include "ui/video/CRenderWnd.h"
#include "ui/viewer/ViewerSessions.h"
#include "ui/viewer/ViewerVideo.h"

#include <mutex>

AlarmFlasher::AlarmFlasher(ViewerSessions& sessions, ViewerVideo& video, CWindowTimers& timers)
    : m_sessions(sessions)
    , m_video(video)
    , m_timers(timers)
{
}

void AlarmFlasher::Mark(int index)
{
    auto& row = m_sessions.table.At(index);
    row.record.alarmPanes = row.record.live.callbackRegistered
        ? AlarmPanes(row.channels.sensors, SensorCameraLinks(row.record.settings),
                     PairPanesWithCameras(row.channels.ownedPanes, row.channels.requestedVideo))
        : 0;
    std::uint16_t all = 0;
    for (int i = 0; i < m_sessions.table.Count(); ++i)
        all |= m_sessions.table.At(i).record.alarmPanes;
    {
        std::lock_guard guard(m_video.overlay.lock);
        m_video.overlay.alarmMask = all;
    }
    if (const auto start = m_display.OnAlarmPanes(row.record.alarmPanes)) {
        m_video.state.alarmDisplayActive = true;
        m_timers.SetTimer(start->id, start->periodMs);
    }
}

void AlarmFlasher::OnFlashTimer(int id)
{
    const auto flash = m_display.OnTimer(id);
    if (!flash)
        return;
    m_video.window->InstallOverlayFor(flash->alarmFrames);
    m_video.window->RequestRedraw();
    m_timers.SetTimer(flash->next.id, flash->next.periodMs);
}

void AlarmFlasher::Stop()
{
    for (int id : m_display.Stop())
        m_timers.KillTimer(id);
}

std::uint16_t AlarmFlasher::AlarmedPanes() const
{
    std::lock_guard guard(m_video.overlay.lock);
    return m_video.overlay.alarmMask;
}
