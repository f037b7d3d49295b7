#pragma once

// moc cannot parse the <compare> these bring in.
#ifndef Q_MOC_RUN
#include "core/status/RecordingLogChain.h"
#include "core/status/RecordingLogPort.h"
#endif

#include <QFile>
#include <QObject>

#include <optional>

class CLogViewDlg;
class CZERDNetwork;
class LiveViewer;
class LogDecodeWorker;
struct LogFileRead;

// Joins the Log Viewer to the recorder sessions of the main window: the
// calendar's events and timer 260 start the recording-day chain on the
// current session, that session's notifications drive it, and a complete
// log is decoded on a worker thread and then listed.
class LogViewerLink : public QObject, private RecordingLogPort {
    Q_OBJECT
public:
    LogViewerLink(LiveViewer& viewer, CLogViewDlg& dialog, QObject* parent = nullptr);
    ~LogViewerLink() override;

    // The dialog was opened: with a session, the shown month is asked for
    // unless the chain has already asked for it on that session.
    void Opened();
    const RecordingLogChain& Chain() const { return m_chain; }
    // Downloaded log files are decoded; true while one is.
    bool Decoding() const;

private:
    // The current session, once its settings have arrived.
    std::optional<unsigned> currentSessionId() const;
    // A calendar event binds the chain to the current session.
    bool bindCurrent();
    // Code 110 of the current session: the chain starts on today's month.
    void startOnLogIn(unsigned sessionId);
    std::optional<int> boundIndex() const;
    CZERDNetwork* session();
    void onNotified(unsigned sessionId, int code);
    void checkBoundSession();
    void onDecoded(const LogFileRead& read, const CivilDate& date);

    bool RequestMonthProfile(int year, int month) override;
    RecordingMonth MonthAnswer() override;
    bool RequestDailyProfile(int day, std::uint8_t block) override;
    std::vector<std::uint8_t> TakeDailyBlock() override;
    bool DownloadLog(const CivilDate& date) override;
    std::uint32_t LogSize() override;
    bool RequestLogBlock(std::uint8_t block) override;
    std::vector<std::uint8_t> TakeLogBlock() override;
    void StopPoll() override;
    void RestartPoll() override;
    bool CreateDailyFile() override;
    bool AppendDailyFile(const std::vector<std::uint8_t>& bytes) override;
    void CloseDailyFile() override;
    bool CreateLogFile(const CivilDate& date) override;
    bool AppendLogFile(const std::vector<std::uint8_t>& bytes) override;
    void CloseLogFile(bool keep) override;
    void ArmProfileTimer() override;
    void ClearEntries() override;
    void UncheckFilters() override;
    void ClearMarks() override;
    void SetMark(int day, bool on) override;
    void SelectDay(int day) override;
    std::optional<CivilDate> CalendarDate() override;
    void LogProgress(std::uint32_t received, std::uint32_t total) override;
    void LogReceived(const CivilDate& date) override;
    void LogNotFound() override;
    void LogBroken(const std::string& reason) override;

    LiveViewer& m_viewer;
    CLogViewDlg& m_dialog;
    RecordingLogChain m_chain;
    LogDecodeWorker* m_decoder;
    std::optional<unsigned> m_sessionId;  // the session the chain talks to
    QFile m_dailyFile;
    QFile m_logFile;
};
