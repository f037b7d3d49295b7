#pragma once

#include "core/viewer/AlarmDisplay.h"

#include <cstdint>

class CWindowTimers;
struct ViewerSessions;
struct ViewerVideo;

// Frames the panes whose cameras are linked to an active sensor of their
// session and flashes them until a pane is clicked.
class AlarmFlasher {
public:
    AlarmFlasher(ViewerSessions& sessions, ViewerVideo& video, CWindowTimers& timers);

    // Session `index`'s sensors, panes or live state changed.
    void Mark(int index);
    // Timer 137 or 138 fired.
    void OnFlashTimer(int id);
    // A pane was clicked: the flashing stops.
    void Stop();

    // Panes the overlay marks as alarmed.
    std::uint16_t AlarmedPanes() const;
    const AlarmDisplay& Display() const { return m_display; }

private:
    ViewerSessions& m_sessions;
    ViewerVideo& m_video;
    CWindowTimers& m_timers;
    AlarmDisplay m_display;
};
