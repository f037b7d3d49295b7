#include "core/viewer/SessionReconnect.h"

#include "core/dvr/NotifyCodes.h"

#include <algorithm>

std::chrono::seconds ReconnectPause(int attempt)
{
    constexpr int kLongest = 30;
    if (attempt < 0)
        attempt = 0;
    if (attempt >= 5)
        return std::chrono::seconds(kLongest);
    return std::chrono::seconds(std::min(kLongest, 1 << attempt));
}

void SessionReconnect::startPause(Clock::time_point now)
{
    m_due = now + ReconnectPause(m_attempts);
    ++m_attempts;
    m_phase = Phase::Waiting;
    m_restorePending = false;
    m_upSince.reset();
}

NotifyReaction SessionReconnect::OnNotify(int code, NotifyReaction r, Clock::time_point now)
{
    if (r.ignored)
        return r;
    // A refused key waits for the operator, whatever the record says: what
    // the closing link still posts is no news and never a reason to try again.
    if (m_keyRefused)
        return NotifyReaction{};
    if (code == kNotifyHostKeyChanged) {
        m_keyRefused = true;
        m_phase = Phase::Up;
        return r;
    }
    if (!m_enabled)
        return r;
    if (m_phase == Phase::Waiting)
        return NotifyReaction{};

    const bool lost = code == kNotifyLinkClosed || code == kNotifyPollTimeout;
    const bool attemptFailed =
        m_phase == Phase::Connecting && (code == kNotifyConnectFailed || code == kNotifyTooManySessions);
    if (lost || attemptFailed) {
        if (m_phase == Phase::Up && m_upSince && now - *m_upSince >= kStableAfter)
            m_attempts = 0;
        r.stopSession = true;
        r.disconnect = false;
        // Only the loss that begins a series is told in a box.
        if (m_attempts > 0)
            r.message.reset();
        startPause(now);
        return r;
    }
    if (m_phase == Phase::Connecting) {
        switch (code) {
        case kNotifyLoggedOnAdmin:
        case kNotifyLoggedOnUser:
            m_phase = Phase::Up;
            m_upSince = now;
            m_restorePending = true;
            break;
        case kNotifyWrongPassword:
        case kNotifyUnknownAccount:
        case kNotifyVersionMismatch:
            // Trying again would only be refused again.
            m_phase = Phase::Up;
            break;
        default: break;
        }
    } else if (!m_upSince && (code == kNotifyLoggedOnAdmin || code == kNotifyLoggedOnUser)) {
        m_upSince = now;
    }
    return r;
}

void SessionReconnect::AttemptFailed(Clock::time_point now)
{
    if (m_enabled && m_phase == Phase::Connecting)
        startPause(now);
}

bool SessionReconnect::TakeDue(Clock::time_point now)
{
    if (m_phase != Phase::Waiting || now < m_due)
        return false;
    m_phase = Phase::Connecting;
    return true;
}

int SessionReconnect::SecondsLeft(Clock::time_point now) const
{
    if (m_phase != Phase::Waiting || now >= m_due)
        return 0;
    const auto left = std::chrono::ceil<std::chrono::seconds>(m_due - now);
    return static_cast<int>(left.count());
}
