#pragma once

#include "core/dvr/ZerdInfoBlock.h"
#include "core/video/ChannelAssignment.h"
#include "core/viewer/NotifyReaction.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Panes showing a camera linked to an active sensor. `cameraLinks[s]` has
// bit n set when sensor s+1 watches camera n+1; `activeSensors` bit s is
// sensor s+1.
std::uint16_t AlarmPanes(std::uint16_t activeSensors, std::span<const std::uint16_t> cameraLinks,
                         const std::vector<PaneCamera>& pairs);

// Which cameras each sensor of a settings block watches, for AlarmPanes.
std::array<std::uint16_t, kMaxSensors> SensorCameraLinks(const ZERD_INFO_BLK& settings);

// While an alarm display runs, the alarmed panes flash: timer 137 draws the
// alarm frames and arms 138, timer 138 draws the plain overlay and arms 137,
// a second apart, until a pane is clicked.
class AlarmDisplay {
public:
    static constexpr int kFlashMs = 1000;

    // New alarmed panes for a live session: the timer to start when a
    // display begins. Running displays go on; no alarmed pane starts none.
    std::optional<TimerStart> OnAlarmPanes(std::uint16_t panes);

    struct Flash {
        bool alarmFrames = false;
        TimerStart next{0, 0};
        bool operator==(const Flash&) const = default;
    };
    // Timer 137 or 138 fired; empty for other ids or when no display runs.
    std::optional<Flash> OnTimer(int id) const;

    // A pane was clicked (or the window ends): the display stops; the
    // timers to kill.
    std::vector<int> Stop();

    bool Active() const { return m_active; }

private:
    bool m_active = false;
};
