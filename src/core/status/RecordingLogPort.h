#pragma once

#include "core/dvr/CivilDate.h"
#include "core/dvr/RecordingProfile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the recording-day and log chain asks of the world: the recorder
// session it talks to, the files it writes, the session's poll timer and the
// Log Viewer's calendar and list. The window implements it; tests record it.
class RecordingLogPort {
public:
    virtual ~RecordingLogPort() = default;

    // Recorder calls (the current session object).
    virtual bool RequestMonthProfile(int year, int month) = 0;
    // The last month answer (124), with the month it is for.
    virtual RecordingMonth MonthAnswer() = 0;
    virtual bool RequestDailyProfile(int day, std::uint8_t block) = 0;
    virtual std::vector<std::uint8_t> TakeDailyBlock() = 0;
    virtual bool DownloadLog(const CivilDate& date) = 0;
    virtual std::uint32_t LogSize() = 0;
    virtual bool RequestLogBlock(std::uint8_t block) = 0;
    virtual std::vector<std::uint8_t> TakeLogBlock() = 0;

    // The session's poll timer: stopped while a log comes in.
    virtual void StopPoll() = 0;
    virtual void RestartPoll() = 0;

    // "c:\daily.pro": created (replaced), appended to in arrival order, closed.
    virtual bool CreateDailyFile() = 0;
    virtual bool AppendDailyFile(const std::vector<std::uint8_t>& bytes) = 0;
    virtual void CloseDailyFile() = 0;
    // The day's log file; a file closed with keep = false is removed.
    virtual bool CreateLogFile(const CivilDate& date) = 0;
    virtual bool AppendLogFile(const std::vector<std::uint8_t>& bytes) = 0;
    virtual void CloseLogFile(bool keep) = 0;

    // The Log Viewer.
    virtual void ArmProfileTimer() = 0;          // timer 260
    virtual void ClearEntries() = 0;             // the entry list and the list view
    virtual void UncheckFilters() = 0;
    virtual void ClearMarks() = 0;
    virtual void SetMark(int day, bool on) = 0;
    virtual void SelectDay(int day) = 0;
    virtual std::optional<CivilDate> CalendarDate() = 0;

    // Outcomes of a log download.
    virtual void LogProgress(std::uint32_t received, std::uint32_t total) = 0;
    virtual void LogReceived(const CivilDate& date) = 0;  // complete: decode it
    virtual void LogNotFound() = 0;
    // Stopped part way; the partial file is already removed.
    virtual void LogBroken(const std::string& reason) = 0;
};
