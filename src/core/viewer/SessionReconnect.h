#pragma once

#include "core/viewer/NotifyReaction.h"

#include <chrono>

// Pause before reconnect attempt n (0 = the first after the link was lost):
// 1, 2, 4, 8, 16 s, then 30 s for every later one.
std::chrono::seconds ReconnectPause(int attempt);

// One session's way back after its link drops or its recorder stops
// answering (106, 108): instead of closing the row, the session is stopped
// and tried again on the same server after a pause that grows with every
// failed attempt. Time is given by the caller.
class SessionReconnect {
public:
    using Clock = std::chrono::steady_clock;
    // A session that stayed up this long starts again from the shortest
    // pause; one that drops sooner keeps growing them, so a recorder that
    // takes the log-in and drops at once is never tried in a tight loop.
    static constexpr Clock::duration kStableAfter = std::chrono::seconds(30);

    enum class Phase { Up, Waiting, Connecting };

    explicit SessionReconnect(bool enabled) : m_enabled(enabled) {}

    bool Enabled() const { return m_enabled; }
    Phase State() const { return m_phase; }
    // Failed attempts since the link was last stable.
    int Attempts() const { return m_attempts; }

    // A notification of this session: the reaction the window would apply,
    // changed while reconnecting is on. A lost link keeps the row (the
    // session is stopped, not closed) and starts a pause; the message box is
    // shown for the loss that begins a series only, not for every failed
    // attempt nor for a link that drops again soon after coming back; whatever
    // the closed connection still had queued is ignored while waiting. A
    // recorder refused for showing another key (135) ends the session's
    // notifications, reconnecting on or off: the operator decides.
    NotifyReaction OnNotify(int code, NotifyReaction reaction, Clock::time_point now);
    // The attempt could not even start (connection refused at once).
    void AttemptFailed(Clock::time_point now);
    // True once, when the pause is over: the caller connects and logs in.
    bool TakeDue(Clock::time_point now);
    // Whole seconds left of the pause, rounded up; 0 when not waiting.
    int SecondsLeft(Clock::time_point now) const;

    // Logged in again: its live channels are still to be restored.
    bool RestorePending() const { return m_restorePending; }
    void Restored() { m_restorePending = false; }

private:
    void startPause(Clock::time_point now);

    bool m_enabled;
    Phase m_phase = Phase::Up;
    int m_attempts = 0;
    Clock::time_point m_due{};
    std::optional<Clock::time_point> m_upSince;
    bool m_restorePending = false;
    bool m_keyRefused = false;
};
