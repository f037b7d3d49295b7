#include "ui/status/CLogViewDlg.h"

#include "core/status/LogEntriesCsv.h"
#include "core/status/LogFilePaths.h"
#include "core/status/LogFilterButtons.h"
#include "platform/app/DrivePaths.h"
#include "ui/app/WindowTimers.h"
#include "ui/controls/CtrlId.h"
#include "ui/controls/DialogKeys.h"
#include "ui/status/CLogCalendar.h"
#include "ui/status/LogFileReader.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QTableWidget>

namespace {

constexpr const char* kFilterTexts[kLogFilterButtonCount] = {"POWER",  "SENSOR", "RECORD", "SENSOR OUT", "LAN",
                                                             "CAMERA", "BACKUP", "SETUP",  "SETTIME",    "ALL"};
constexpr int kSensorOutButton = static_cast<int>(LogFilterGroup::SensorOut);
constexpr int kFocusDelayMs = 50;

// The main window's sheet, which this dialog inherits as its child, colours
// lists and labels for its own dark background; here they follow the
// application palette like the rest of the dialog.
constexpr const char* kPaletteLook =
    "QLabel { color: palette(window-text); }"
    "QTableWidget { color: palette(text); background: palette(base); gridline-color: palette(mid);"
    "  border: 1px solid palette(mid); selection-background-color: palette(highlight);"
    "  selection-color: palette(highlighted-text); }"
    "QHeaderView, QHeaderView::section { color: palette(button-text); background: palette(button);"
    "  border: 1px solid palette(mid); }"
    // A checked filter must be told from an unchecked one at a glance.
    "QPushButton:checked { color: palette(highlighted-text); background: palette(highlight);"
    "  border: 1px solid palette(dark); border-radius: 3px; }";
constexpr int kProfileDelayMs = 1000;

CivilDate ToCivil(const QDate& date)
{
    return {date.year(), date.month(), date.day()};
}

QString DateText(const CivilDate& date)
{
    return QString::asprintf("%04d-%02d-%02d", date.year, date.month, date.day);
}

} // namespace

CLogViewDlg::CLogViewDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Log Viewer"));
    setAccessibleName(QStringLiteral("Log Viewer"));
    setObjectName(QStringLiteral("CLogViewDlg"));
    setFixedSize(760, 570);
    setStyleSheet(kPaletteLook);
    m_timers = new CWindowTimers([this](int id) { onTimer(id); }, this);
    buildControls();
    m_pickOpen = [this] {
        const QString folder = QString::fromStdString(drive::MapWindowsPath("c:\\DVR\\Remote\\LogFile"));
        return QFileDialog::getOpenFileName(this, QStringLiteral("Open File"), folder,
                                            QStringLiteral("Log Files (*.log);;All Files (*)"));
    };
    m_pickSave = [this] {
        const QString folder = QString::fromStdString(drive::MapWindowsPath("c:\\DVR\\Remote\\LogFile"));
        const QString name = m_date.month > 0 ? QStringLiteral("LOG_%1.csv").arg(DateText(m_date)) : QString();
        return QFileDialog::getSaveFileName(this, QStringLiteral("Save as CSV"), folder + '/' + name,
                                            QStringLiteral("CSV Files (*.csv);;All Files (*)"));
    };
}

void CLogViewDlg::buildControls()
{
    auto* open = new QPushButton(QStringLiteral("Open File"), this);
    SetCtrlId(open, kOpenFile);
    open->setAccessibleName(open->text());
    open->setGeometry(10, 10, 100, 28);
    connect(open, &QPushButton::clicked, this, &CLogViewDlg::onOpenFile);

    auto* save = new QPushButton(QStringLiteral("Save as CSV"), this);
    SetCtrlId(save, kSaveCsv);
    save->setAccessibleName(save->text());
    save->setGeometry(118, 10, 110, 28);
    connect(save, &QPushButton::clicked, this, &CLogViewDlg::onSaveCsv);

    m_list = new QTableWidget(0, 2, this);
    SetCtrlId(m_list, kList);
    m_list->setAccessibleName(QStringLiteral("Log entries"));
    m_list->setGeometry(10, 46, 500, 476);
    m_list->setHorizontalHeaderLabels({QStringLiteral("Description"), QStringLiteral("Date & Time")});
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->setColumnWidth(0, 240);
    m_list->setColumnWidth(1, 237);
    m_list->verticalHeader()->hide();
    m_list->setShowGrid(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);

    m_calendar = new CLogCalendar(this);
    SetCtrlId(m_calendar, kCalendar);
    m_calendar->setGeometry(520, 46, 230, 200);
    connect(m_calendar, &CLogCalendar::shownMonthChanged, this, [this](const QDate& selected) {
        if (m_quietCalendar)
            return;
        m_timers->SetTimer(kTimerFocus, kFocusDelayMs);
        emit monthShown(ToCivil(selected));
    });
    connect(m_calendar, &CLogCalendar::dayPicked, this, [this](const QDate& date) {
        m_timers->SetTimer(kTimerFocus, kFocusDelayMs);
        emit dayPicked(ToCivil(date));
    });

    for (int i = 0; i < kLogFilterButtonCount; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(kFilterTexts[i]), this);
        SetCtrlId(button, kFirstFilter + i);
        button->setAccessibleName(button->text());
        button->setCheckable(true);
        // Two columns under the calendar; ALL spans the last row.
        const int slot = i < kSensorOutButton ? i : i - 1;
        if (i == static_cast<int>(LogFilterGroup::All))
            button->setGeometry(520, 262 + 4 * 36, 230, 30);
        else
            button->setGeometry(520 + (slot % 2) * 118, 262 + (slot / 2) * 36, 112, 30);
        button->setVisible(i != kSensorOutButton);
        connect(button, &QPushButton::clicked, this, [this, i] { onFilterClicked(i); });
        m_filters[static_cast<std::size_t>(i)] = button;
    }

    m_status = new QLabel(this);
    SetCtrlId(m_status, kStatus);
    m_status->setAccessibleName(QStringLiteral("Status"));
    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_status->setGeometry(10, 532, 740, 28);
}

void CLogViewDlg::ClearMarks()
{
    m_calendar->ClearMarks();
}

void CLogViewDlg::SetMark(int day, bool on)
{
    m_calendar->SetMark(day, on);
}

void CLogViewDlg::SelectDay(int day)
{
    m_calendar->SelectDay(day);
}

CivilDate CLogViewDlg::CalendarDate() const
{
    return ToCivil(m_calendar->selectedDate());
}

void CLogViewDlg::ShowDate(const CivilDate& date)
{
    const QScopedValueRollback quiet(m_quietCalendar, true);
    m_calendar->setSelectedDate(QDate(date.year, date.month, date.day));
}

void CLogViewDlg::ArmProfileTimer()
{
    m_timers->SetTimer(kTimerProfile, kProfileDelayMs);
}

void CLogViewDlg::ClearEntries()
{
    m_entries.clear();
    listGroup(std::nullopt);
}

void CLogViewDlg::UncheckFilters()
{
    for (QPushButton* button : m_filters)
        button->setChecked(false);
}

void CLogViewDlg::ShowEntries(std::vector<LogEntry> entries, const CivilDate& date)
{
    m_entries = std::move(entries);
    m_date = date;
    const LogFilterOutcome outcome = ClickLogFilter(LogFilterGroup::All, true);
    for (int i = 0; i < kLogFilterButtonCount; ++i)
        m_filters[static_cast<std::size_t>(i)]->setChecked(outcome.checked[static_cast<std::size_t>(i)]);
    listGroup(static_cast<int>(LogFilterGroup::All));
}

void CLogViewDlg::SetStatus(const QString& text)
{
    m_status->setText(text);
}

QString CLogViewDlg::StatusText() const
{
    return m_status->text();
}

std::vector<const LogEntry*> CLogViewDlg::ListedEntries() const
{
    std::vector<const LogEntry*> rows;
    for (std::size_t index : m_listed)
        rows.push_back(&m_entries[index]);
    return rows;
}

void CLogViewDlg::onFilterClicked(int index)
{
    const auto group = static_cast<LogFilterGroup>(index);
    const LogFilterOutcome outcome = ClickLogFilter(group, m_filters[static_cast<std::size_t>(index)]->isChecked());
    for (int i = 0; i < kLogFilterButtonCount; ++i)
        m_filters[static_cast<std::size_t>(i)]->setChecked(outcome.checked[static_cast<std::size_t>(i)]);
    listGroup(outcome.listed ? std::optional<int>(static_cast<int>(*outcome.listed)) : std::nullopt);
}

void CLogViewDlg::listGroup(std::optional<int> group)
{
    m_listed = group ? EntriesInGroup(m_entries, static_cast<LogFilterGroup>(*group)) : std::vector<std::size_t>{};
    m_list->setRowCount(0);
    m_list->setRowCount(static_cast<int>(m_listed.size()));
    for (int row = 0; row < static_cast<int>(m_listed.size()); ++row) {
        const LogEntry& entry = m_entries[m_listed[static_cast<std::size_t>(row)]];
        auto* description = new QTableWidgetItem(QString::fromStdString(entry.description));
        auto* when = new QTableWidgetItem(QString::fromStdString(entry.dateTime));
        description->setTextAlignment(Qt::AlignCenter);
        when->setTextAlignment(Qt::AlignCenter);
        m_list->setItem(row, 0, description);
        m_list->setItem(row, 1, when);
    }
}

void CLogViewDlg::onOpenFile()
{
    const QString path = m_pickOpen ? m_pickOpen() : QString();
    if (!path.isEmpty())
        OpenLogFile(path);
}

void CLogViewDlg::OpenLogFile(const QString& path)
{
    UncheckFilters();
    ClearEntries();
    const QFileInfo info(path);
    const OpenedLogDate dated =
        DateOfOpenedLog(info.fileName().toStdString(), ToCivil(info.lastModified().date()));
    LogFileRead read = ReadLogFile(path, dated.date);
    if (!read.error.isEmpty()) {
        SetStatus(read.error);
        return;
    }
    const std::size_t count = read.entries.size();
    ShowEntries(std::move(read.entries), dated.date);
    QString status = QStringLiteral("%1: %2 entries").arg(info.fileName()).arg(count);
    if (!dated.fromName)
        status += QStringLiteral(" (name has no YYYY_MM_DD date; dated %1 from the file's modification time)")
                      .arg(DateText(dated.date));
    SetStatus(status);
}

void CLogViewDlg::onSaveCsv()
{
    const QString path = m_pickSave ? m_pickSave() : QString();
    if (!path.isEmpty())
        SaveCsv(path);
}

bool CLogViewDlg::SaveCsv(const QString& path)
{
    const std::vector<const LogEntry*> rows = ListedEntries();
    const std::string csv = LogEntriesCsv(rows);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv.data(), static_cast<qint64>(csv.size())) < 0
        || !file.commit()) {
        SetStatus(QStringLiteral("Could not save %1: %2").arg(path, file.errorString()));
        return false;
    }
    SetStatus(QStringLiteral("Saved %1 entries to %2").arg(rows.size()).arg(path));
    return true;
}

void CLogViewDlg::onTimer(int id)
{
    m_timers->KillTimer(id);
    if (id == kTimerFocus) {
        activateWindow();
        setFocus();
    } else if (id == kTimerProfile) {
        emit profileTimerFired();
    }
}

void CLogViewDlg::keyPressEvent(QKeyEvent* event)
{
    if (!SwallowDialogCloseKey(event))
        QDialog::keyPressEvent(event);
}
