#include "core/status/RecordingLogChain.h"

#include "core/dvr/NotifyCodes.h"
#include "core/dvr/RecordingProfile.h"

void RecordingLogChain::OnMonthShown(const CivilDate& date)
{
    startMonth(date);
    m_port.ArmProfileTimer();
}

void RecordingLogChain::OnDayPicked(const CivilDate& date)
{
    if (!m_monthlyDone)
        return;
    if (m_pickMask == 0) {
        // Nothing to fetch in this month: the selection stays where it was.
        m_port.SelectDay(m_date.day);
        return;
    }
    m_port.UncheckFilters();
    takeDate(date);
    if (!MonthMaskHasDay(m_pickMask, date.day))
        return;
    m_monthlyDone = false;
    m_dailyDone = false;
    m_port.ClearEntries();
    m_port.ArmProfileTimer();
}

void RecordingLogChain::OnProfileTimer()
{
    if (m_date.month < 1 || m_date.month > 12)
        return;
    m_monthAsked = m_port.RequestMonthProfile(m_date.year, m_date.month);
}

void RecordingLogChain::OnSessionReady(const CivilDate& date)
{
    startMonth(date);
    OnProfileTimer();
}

void RecordingLogChain::startMonth(const CivilDate& date)
{
    m_monthAsked = false;
    m_monthlyDone = false;
    m_dailyDone = false;
    m_port.ClearEntries();
    takeDate(date);
}

void RecordingLogChain::OnNotify(int code)
{
    switch (code) {
    case kNotifyMonthProfileReady: onMonthProfile(); break;
    case kNotifyDailyProfileBlock: onDailyBlock(false); break;
    case kNotifyDailyProfileLastBlock: onDailyBlock(true); break;
    case kNotifyLogFound: onLogFound(); break;
    case kNotifyLogBlock: onLogBlock(false); break;
    case kNotifyLogLastBlock: onLogBlock(true); break;
    case kNotifyLogNotFound: onLogNotFound(); break;
    default: break;
    }
}

void RecordingLogChain::OnSessionLost()
{
    dropTransfers("the link to the recorder was lost", false);
}

void RecordingLogChain::OnSessionLeft()
{
    dropTransfers("another recorder was chosen", true);
}

void RecordingLogChain::dropTransfers(const std::string& reason, bool sessionAlive)
{
    if (m_dailyFileOpen) {
        m_port.CloseDailyFile();
        m_dailyFileOpen = false;
    }
    m_dailyRequested = false;
    m_monthAsked = false;
    m_monthlyDone = false;
    m_dailyDone = false;
    if (m_log == LogState::Idle)
        return;
    m_port.CloseLogFile(false);
    m_log = LogState::Idle;
    if (sessionAlive)
        m_port.RestartPoll();
    m_port.LogBroken(reason);
}

void RecordingLogChain::onMonthProfile()
{
    if (m_monthlyDone)
        return;
    // An answer to a month the operator has since left would mark the days
    // of that month on this one; the answer for this month is still to come.
    const RecordingMonth answer = m_port.MonthAnswer();
    if (!answer.IsFor(m_date))
        return;
    m_port.ClearMarks();
    for (int day = 1; day <= 31; ++day)
        m_port.SetMark(day, false);
    m_monthMask = answer.dayMask;
    m_pickMask = m_monthMask;
    if (m_monthMask != 0) {
        for (int day = 1; day <= 31; ++day) {
            if (MonthMaskHasDay(m_monthMask, day))
                m_port.SetMark(day, true);
        }
        m_dailyRequested = true;
        if (const auto date = m_port.CalendarDate())
            takeDate(*date);
        if (m_dailyFileOpen)
            m_port.CloseDailyFile();
        m_dailyFileOpen = m_port.CreateDailyFile();
        m_sequence = 0;
        m_port.RequestDailyProfile(m_date.day, 0);
    }
    m_monthlyDone = true;
}

void RecordingLogChain::onDailyBlock(bool last)
{
    if (!m_dailyRequested || (last && m_dailyDone))
        return;
    if (!last) {
        ++m_sequence;
        const auto bytes = m_port.TakeDailyBlock();
        if (m_dailyFileOpen)
            m_port.AppendDailyFile(bytes);
        m_port.RequestDailyProfile(m_date.day, m_sequence);
        return;
    }
    const auto bytes = m_port.TakeDailyBlock();
    if (m_dailyFileOpen) {
        m_port.AppendDailyFile(bytes);
        m_port.CloseDailyFile();
        m_dailyFileOpen = false;
    }
    ++m_sequence;
    m_dailyRequested = false;
    m_port.RestartPoll();
    if (MonthMaskHasDay(m_monthMask, m_date.day))
        startLogDownload();
    m_dailyDone = true;
}

void RecordingLogChain::startLogDownload()
{
    if (m_log != LogState::Idle) {
        // Another day was picked while a log came in: that one is given up.
        m_port.CloseLogFile(false);
        m_log = LogState::Idle;
        m_port.LogBroken("another day was picked");
    }
    m_port.StopPoll();
    m_logDate = m_date;
    m_logTotal = 0;
    m_logReceived = 0;
    if (!m_port.CreateLogFile(m_logDate)) {
        m_port.RestartPoll();
        m_port.LogBroken("the log file could not be created");
        return;
    }
    if (!m_port.DownloadLog(m_logDate)) {
        m_port.CloseLogFile(false);
        m_port.RestartPoll();
        m_port.LogBroken("the recorder could not be asked for it");
        return;
    }
    m_log = LogState::Asked;
}

void RecordingLogChain::onLogFound()
{
    if (m_log != LogState::Asked)
        return;
    m_logTotal = m_port.LogSize();
    m_log = LogState::Receiving;
    m_port.LogProgress(0, m_logTotal);
    m_port.RequestLogBlock(m_sequence);
}

void RecordingLogChain::onLogBlock(bool last)
{
    if (m_log != LogState::Receiving)
        return;
    const auto bytes = m_port.TakeLogBlock();
    if (!m_port.AppendLogFile(bytes)) {
        breakLog("the log file could not be written");
        return;
    }
    m_logReceived += static_cast<std::uint32_t>(bytes.size());
    m_port.LogProgress(m_logReceived, m_logTotal);
    if (!last) {
        ++m_sequence;
        m_port.RequestLogBlock(m_sequence);
        return;
    }
    if (m_logReceived != m_logTotal) {
        breakLog("the recorder sent " + std::to_string(m_logReceived) + " of " + std::to_string(m_logTotal)
                 + " bytes");
        return;
    }
    endLog(true);
    m_port.LogReceived(m_logDate);
}

void RecordingLogChain::onLogNotFound()
{
    if (m_log == LogState::Idle)
        return;
    endLog(false);
    m_port.LogNotFound();
}

void RecordingLogChain::endLog(bool keep)
{
    m_port.CloseLogFile(keep);
    m_log = LogState::Idle;
    m_port.RestartPoll();
}

void RecordingLogChain::breakLog(const std::string& reason)
{
    endLog(false);
    m_port.LogBroken(reason);
}
