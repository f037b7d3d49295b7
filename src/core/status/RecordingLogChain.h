#pragma once

#include "core/dvr/CivilDate.h"
#include "core/status/RecordingLogPort.h"

#include <cstdint>

// The chain that fills the Log Viewer from one recorder session: a month's
// recording days, the picked day's recording profile and, for a day with
// recordings, that day's event log. Calendar events and timer 260 start it,
// the session's notifications drive it on; the done flags make a repeated
// notification harmless.
class RecordingLogChain {
public:
    explicit RecordingLogChain(RecordingLogPort& port) : m_port(port) {}

    // The calendar shows another month (its selected date is `date`).
    void OnMonthShown(const CivilDate& date);
    // A day was picked on the calendar.
    void OnDayPicked(const CivilDate& date);
    // Timer 260: ask for the month's recording days.
    void OnProfileTimer();
    // The session's settings arrived: its month (that of `date`) is asked
    // for at once, so the chain runs before anyone opens the viewer.
    void OnSessionReady(const CivilDate& date);
    // Notifications 119 to 126 of the session.
    void OnNotify(int code);
    // The session ended: a transfer under way is broken off.
    void OnSessionLost();
    // The chain moves to another session: a log still coming in from this
    // one is given up and its poll timer runs again.
    void OnSessionLeft();

    // A log was asked for and neither found nor refused yet.
    bool AwaitingLogAnswer() const { return m_log == LogState::Asked; }
    bool LogTransferRunning() const { return m_log != LogState::Idle; }
    // The month of `date` has been asked for (and may be answered already).
    bool HasMonth(const CivilDate& date) const
    {
        return m_monthAsked && m_date.year == date.year && m_date.month == date.month;
    }

    const CivilDate& Date() const { return m_date; }
    const CivilDate& LogDate() const { return m_logDate; }
    std::uint8_t Sequence() const { return m_sequence; }
    bool MonthlyDone() const { return m_monthlyDone; }
    bool DailyDone() const { return m_dailyDone; }

private:
    enum class LogState { Idle, Asked, Receiving };

    void takeDate(const CivilDate& date) { m_date = date; }
    void startMonth(const CivilDate& date);
    void onMonthProfile();
    void onDailyBlock(bool last);
    void startLogDownload();
    void onLogFound();
    void onLogBlock(bool last);
    void onLogNotFound();
    void endLog(bool keep);
    void breakLog(const std::string& reason);
    void dropTransfers(const std::string& reason, bool sessionAlive);

    RecordingLogPort& m_port;
    CivilDate m_date{0, 0, 0};
    std::uint32_t m_monthMask = 0;        // as received
    std::uint32_t m_pickMask = 0;         // tested when a day is picked
    bool m_monthAsked = false;
    bool m_monthlyDone = false;
    bool m_dailyDone = false;
    bool m_dailyRequested = false;
    bool m_dailyFileOpen = false;
    std::uint8_t m_sequence = 0;          // shared by the daily profile and the log transfer
    LogState m_log = LogState::Idle;
    CivilDate m_logDate{0, 0, 0};
    std::uint32_t m_logTotal = 0;
    std::uint32_t m_logReceived = 0;
};
