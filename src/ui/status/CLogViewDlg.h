#pragma once

// moc cannot parse the <compare> these bring in.
#ifndef Q_MOC_RUN
#include "core/dvr/CivilDate.h"
#include "core/dvr/LogEventText.h"
#endif

#include <QDialog>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class CLogCalendar;
class CWindowTimers;
class QLabel;
class QPushButton;
class QTableWidget;

// The "Log Viewer": a recorder's daily event log as a list, filtered by
// event group, with the month's recording days marked on a calendar. It
// reads saved log files itself; what comes from a recorder is fed in by the
// window's log link, which also hears the calendar's events.
class CLogViewDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kOpenFile = 1000;
    static constexpr int kStatus = 1001;
    static constexpr int kCalendar = 1005;
    static constexpr int kList = 1022;
    static constexpr int kSaveCsv = 1023;
    static constexpr int kFirstFilter = 1200;  // 1200..1209: POWER .. ALL
    static constexpr int kTimerFocus = 240;
    static constexpr int kTimerProfile = 260;

    explicit CLogViewDlg(QWidget* parent = nullptr);

    // Calendar operations of the recording-day chain.
    void ClearMarks();
    void SetMark(int day, bool on);
    void SelectDay(int day);
    CivilDate CalendarDate() const;
    // Selects `date` without raising the calendar's events: the caller
    // starts the chain itself.
    void ShowDate(const CivilDate& date);
    void ArmProfileTimer();

    // Empties the entries and the list view.
    void ClearEntries();
    void UncheckFilters();
    // New entries of the log of `date`: ALL is checked and every entry listed.
    void ShowEntries(std::vector<LogEntry> entries, const CivilDate& date);
    void SetStatus(const QString& text);

    const std::vector<LogEntry>& Entries() const { return m_entries; }
    // What the list view shows: description and date-and-time per row.
    std::vector<const LogEntry*> ListedEntries() const;
    CLogCalendar* Calendar() const { return m_calendar; }
    QString StatusText() const;

    // "Open File" and "Save as CSV" ask these for a path (empty: cancelled);
    // by default they show the file dialogs.
    void SetOpenFilePicker(std::function<QString()> pick) { m_pickOpen = std::move(pick); }
    void SetSaveFilePicker(std::function<QString()> pick) { m_pickSave = std::move(pick); }

    // Reads a saved log file and lists all of it.
    void OpenLogFile(const QString& path);
    // Writes the listed entries; false, with the reason in the status line,
    // when the file could not be written.
    bool SaveCsv(const QString& path);

signals:
    void monthShown(const CivilDate& selected);
    void dayPicked(const CivilDate& date);
    void profileTimerFired();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void onFilterClicked(int index);
    void listGroup(std::optional<int> group);
    void onOpenFile();
    void onSaveCsv();
    void onTimer(int id);

    CLogCalendar* m_calendar = nullptr;
    QTableWidget* m_list = nullptr;
    QLabel* m_status = nullptr;
    std::array<QPushButton*, 10> m_filters{};
    CWindowTimers* m_timers = nullptr;
    std::vector<LogEntry> m_entries;
    std::vector<std::size_t> m_listed;
    CivilDate m_date{0, 0, 0};
    bool m_quietCalendar = false;
    std::function<QString()> m_pickOpen;
    std::function<QString()> m_pickSave;
};
