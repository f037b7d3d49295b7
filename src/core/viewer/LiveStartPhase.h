#pragma once

#include "core/viewer/NotifyReaction.h"

#include <vector>

// The few seconds after the recorder reports that live media started
// (notification 114, then timer 2000): the video pane is repainted every
// half second until the PTZ set-up timer (133) has run once.
class LiveStartPhase {
public:
    // Timer 2000 fired: the start flag is set; the timers to start.
    std::vector<TimerStart> OnStartTimer();

    struct RepaintTick {
        bool repaint = false;
        bool stop = false;  // nothing left to do: the repaint timer can go
    };
    // Timer 131 fired.
    RepaintTick OnRepaintTimer() const;

    // Timer 133 fired: from now on the PTZ driver is set up.
    void OnPtzSetUpTimer() { m_ptzSetUpDone = true; }

    bool Started() const { return m_started; }
    bool PtzSetUpDone() const { return m_ptzSetUpDone; }

private:
    bool m_started = false;
    bool m_ptzSetUpDone = false;
};
