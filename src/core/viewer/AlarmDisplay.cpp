#include "core/viewer/AlarmDisplay.h"

#include "core/viewer/ViewerTimers.h"

std::uint16_t AlarmPanes(std::uint16_t activeSensors, std::span<const std::uint16_t> cameraLinks,
                         const std::vector<PaneCamera>& pairs)
{
    std::uint16_t cameras = 0;
    for (std::size_t s = 0; s < cameraLinks.size() && s < 16; ++s)
        if ((activeSensors >> s) & 1u)
            cameras |= cameraLinks[s];
    std::uint16_t panes = 0;
    for (const PaneCamera& pair : pairs)
        if (pair.camera >= 0 && pair.camera < 16 && pair.pane >= 0 && pair.pane < 16 && ((cameras >> pair.camera) & 1u))
            panes |= static_cast<std::uint16_t>(1u << pair.pane);
    return panes;
}

std::array<std::uint16_t, kMaxSensors> SensorCameraLinks(const ZERD_INFO_BLK& settings)
{
    std::array<std::uint16_t, kMaxSensors> links{};
    for (std::size_t s = 0; s < kMaxSensors; ++s)
        links[s] = settings.sensor.cameraLinks[s].get();
    return links;
}

std::optional<TimerStart> AlarmDisplay::OnAlarmPanes(std::uint16_t panes)
{
    if (panes == 0 || m_active)
        return std::nullopt;
    m_active = true;
    return TimerStart{kTimerPaneDraw1, kFlashMs};
}

std::optional<AlarmDisplay::Flash> AlarmDisplay::OnTimer(int id) const
{
    if (!m_active)
        return std::nullopt;
    if (id == kTimerPaneDraw1)
        return Flash{true, {kTimerPaneDraw2, kFlashMs}};
    if (id == kTimerPaneDraw2)
        return Flash{false, {kTimerPaneDraw1, kFlashMs}};
    return std::nullopt;
}

std::vector<int> AlarmDisplay::Stop()
{
    m_active = false;
    return {kTimerPaneDraw1, kTimerPaneDraw2};
}
