#include "ui/status/LogViewerLink.h"

#include "core/dvr/LogEventText.h"
#include "core/dvr/NotifyCodes.h"
#include "core/status/LogFilePaths.h"
#include "platform/app/DrivePaths.h"
#include "ui/status/CLogViewDlg.h"
#include "ui/status/LogDecodeWorker.h"
#include "ui/viewer/LiveViewer.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace {

QString DateText(const CivilDate& date)
{
    return QString::asprintf("%04d-%02d-%02d", date.year, date.month, date.day);
}

QString MappedPath(const std::string& windowsPath)
{
    return QString::fromStdString(drive::MapWindowsPath(windowsPath));
}

// Codes after which the session no longer answers.
bool EndsSession(int code)
{
    return code == kNotifyConnectFailed || (code >= kNotifyWrongPassword && code <= kNotifyPollTimeout);
}

bool OpenForWriting(QFile& file, const QString& path)
{
    if (file.isOpen())
        file.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    file.setFileName(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool Append(QFile& file, const std::vector<std::uint8_t>& bytes)
{
    if (!file.isOpen())
        return false;
    return bytes.empty()
        || file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()))
        == static_cast<qint64>(bytes.size());
}

} // namespace

LogViewerLink::LogViewerLink(LiveViewer& viewer, CLogViewDlg& dialog, QObject* parent)
    : QObject(parent), m_viewer(viewer), m_dialog(dialog), m_chain(*this), m_decoder(new LogDecodeWorker(this))
{
    connect(&dialog, &CLogViewDlg::monthShown, this, [this](const CivilDate& date) {
        if (bindCurrent())
            m_chain.OnMonthShown(date);
    });
    connect(&dialog, &CLogViewDlg::dayPicked, this, [this](const CivilDate& date) {
        const std::optional<unsigned> before = m_sessionId;
        if (!bindCurrent())
            return;
        // Another recorder's month is not known yet: ask for it first.
        if (before != m_sessionId)
            m_chain.OnMonthShown(date);
        else
            m_chain.OnDayPicked(date);
    });
    connect(&dialog, &CLogViewDlg::profileTimerFired, this, [this] {
        if (session())
            m_chain.OnProfileTimer();
    });
    connect(&viewer, &LiveViewer::notified, this, &LogViewerLink::onNotified);
    connect(&viewer, &LiveViewer::currentSessionChanged, this, &LogViewerLink::checkBoundSession);
    connect(m_decoder, &LogDecodeWorker::decoded, this, &LogViewerLink::onDecoded);
    viewer.SetLogRefusalFilter([this](unsigned sessionId) {
        return m_sessionId == sessionId && m_chain.AwaitingLogAnswer();
    });
}

LogViewerLink::~LogViewerLink()
{
    m_viewer.SetLogRefusalFilter({});
    // A log still coming in must not be left looking complete.
    if (m_chain.LogTransferRunning())
        m_logFile.remove();
}

void LogViewerLink::Opened()
{
    if (!m_viewer.Sessions().Has(m_viewer.Current())) {
        m_dialog.SetStatus(QStringLiteral("No recorder connected: \"Open File\" reads a saved log"));
        return;
    }
    const CivilDate shown = m_dialog.CalendarDate();
    // What the chain fetched since log-in is on the dialog already.
    if (m_sessionId && m_sessionId == currentSessionId() && m_chain.HasMonth(shown))
        return;
    if (bindCurrent())
        m_chain.OnMonthShown(shown);
}

bool LogViewerLink::Decoding() const
{
    return m_decoder->Running();
}

std::optional<unsigned> LogViewerLink::currentSessionId() const
{
    const auto& sessions = m_viewer.Sessions();
    if (!sessions.Has(m_viewer.Current()) || !sessions.At(m_viewer.Current()).record.hasSettings)
        return std::nullopt;
    return sessions.At(m_viewer.Current()).session.SessionId();
}

bool LogViewerLink::bindCurrent()
{
    const std::optional<unsigned> id = currentSessionId();
    if (!id)
        return false;
    if (m_sessionId && *m_sessionId != *id)
        m_chain.OnSessionLeft();  // still bound to the old session, so its poll timer runs again
    m_sessionId = id;
    return true;
}

void LogViewerLink::startOnLogIn(unsigned sessionId)
{
    // Settings fetched again later must not restart a chain under way.
    if (m_sessionId == sessionId || currentSessionId() != sessionId || !bindCurrent())
        return;
    const QDate today = QDate::currentDate();
    const CivilDate date{today.year(), today.month(), today.day()};
    m_dialog.ShowDate(date);
    m_chain.OnSessionReady(date);
}

std::optional<int> LogViewerLink::boundIndex() const
{
    if (!m_sessionId)
        return std::nullopt;
    return m_viewer.Sessions().FindBySessionId(*m_sessionId);
}

CZERDNetwork* LogViewerLink::session()
{
    const auto index = boundIndex();
    return index ? &m_viewer.SessionObject(*index) : nullptr;
}

void LogViewerLink::onNotified(unsigned sessionId, int code)
{
    if (code == kNotifySettingsReceived)
        startOnLogIn(sessionId);
    if (!m_sessionId || sessionId != *m_sessionId)
        return;
    if (EndsSession(code)) {
        m_chain.OnSessionLost();
        m_sessionId.reset();
        return;
    }
    m_chain.OnNotify(code);
}

void LogViewerLink::checkBoundSession()
{
    if (m_sessionId && !boundIndex()) {
        m_chain.OnSessionLost();
        m_sessionId.reset();
    }
}

void LogViewerLink::onDecoded(const LogFileRead& read, const CivilDate& date)
{
    if (!read.error.isEmpty()) {
        m_dialog.SetStatus(read.error);
        return;
    }
    const std::size_t count = read.entries.size();
    m_dialog.ShowEntries(read.entries, date);
    m_dialog.SetStatus(QStringLiteral("Log of %1: %2 entries").arg(DateText(date)).arg(count));
}

bool LogViewerLink::RequestMonthProfile(int year, int month)
{
    CZERDNetwork* net = session();
    return net && net->GetRecordingProfile_Monthley(static_cast<unsigned short>(year), static_cast<unsigned char>(month));
}

RecordingMonth LogViewerLink::MonthAnswer()
{
    CZERDNetwork* net = session();
    return net ? net->GetRecordingMonthleyProfile_Month() : RecordingMonth{};
}

bool LogViewerLink::RequestDailyProfile(int day, std::uint8_t block)
{
    CZERDNetwork* net = session();
    return net && net->GetRecordingProfile_Daily(static_cast<unsigned char>(day), block);
}

std::vector<std::uint8_t> LogViewerLink::TakeDailyBlock()
{
    CZERDNetwork* net = session();
    if (!net)
        return {};
    int length = 0;
    const unsigned char* data = net->GetRecordingDailyProfile_Data(length);
    return data && length > 0 ? std::vector<std::uint8_t>(data, data + length) : std::vector<std::uint8_t>{};
}

bool LogViewerLink::DownloadLog(const CivilDate& date)
{
    CZERDNetwork* net = session();
    return net
        && net->DownloadLOG(static_cast<unsigned short>(date.year), static_cast<unsigned char>(date.month),
                            static_cast<unsigned char>(date.day));
}

std::uint32_t LogViewerLink::LogSize()
{
    CZERDNetwork* net = session();
    return net ? net->GetLogFileSize() : 0;
}

bool LogViewerLink::RequestLogBlock(std::uint8_t block)
{
    CZERDNetwork* net = session();
    return net && net->GetLOGFileBlock(block);
}

std::vector<std::uint8_t> LogViewerLink::TakeLogBlock()
{
    CZERDNetwork* net = session();
    if (!net)
        return {};
    int length = 0;
    const unsigned char* data = net->GetLOGFileChunkData(length);
    return data && length > 0 ? std::vector<std::uint8_t>(data, data + length) : std::vector<std::uint8_t>{};
}

void LogViewerLink::StopPoll()
{
    if (const auto index = boundIndex())
        m_viewer.StopPoll(*index);
}

void LogViewerLink::RestartPoll()
{
    if (const auto index = boundIndex())
        m_viewer.RestartPoll(*index);
}

bool LogViewerLink::CreateDailyFile()
{
    return OpenForWriting(m_dailyFile, MappedPath(kDailyProfilePath));
}

bool LogViewerLink::AppendDailyFile(const std::vector<std::uint8_t>& bytes)
{
    return Append(m_dailyFile, bytes);
}

void LogViewerLink::CloseDailyFile()
{
    m_dailyFile.close();
}

bool LogViewerLink::CreateLogFile(const CivilDate& date)
{
    const auto index = boundIndex();
    const std::string server = index ? m_viewer.Sessions().At(*index).descriptor.name : std::string();
    return OpenForWriting(m_logFile, MappedPath(DownloadedLogPath(server, date)));
}

bool LogViewerLink::AppendLogFile(const std::vector<std::uint8_t>& bytes)
{
    return Append(m_logFile, bytes);
}

void LogViewerLink::CloseLogFile(bool keep)
{
    if (keep && m_logFile.flush()) {
        m_logFile.close();
        return;
    }
    m_logFile.close();
    m_logFile.remove();
}

void LogViewerLink::ArmProfileTimer()
{
    m_dialog.ArmProfileTimer();
}

void LogViewerLink::ClearEntries()
{
    m_dialog.ClearEntries();
}

void LogViewerLink::UncheckFilters()
{
    m_dialog.UncheckFilters();
}

void LogViewerLink::ClearMarks()
{
    m_dialog.ClearMarks();
}

void LogViewerLink::SetMark(int day, bool on)
{
    m_dialog.SetMark(day, on);
}

void LogViewerLink::SelectDay(int day)
{
    m_dialog.SelectDay(day);
}

std::optional<CivilDate> LogViewerLink::CalendarDate()
{
    return m_dialog.CalendarDate();
}

void LogViewerLink::LogProgress(std::uint32_t received, std::uint32_t total)
{
    m_dialog.SetStatus(QStringLiteral("Receiving the log of %1: %2 of %3 bytes")
                           .arg(DateText(m_chain.LogDate()))
                           .arg(received)
                           .arg(total));
}

void LogViewerLink::LogReceived(const CivilDate& date)
{
    m_dialog.SetStatus(QStringLiteral("Reading the log of %1").arg(DateText(date)));
    m_decoder->Start(m_logFile.fileName(), date);
}

void LogViewerLink::LogNotFound()
{
    m_dialog.SetStatus(QStringLiteral("Not Found Log File!"));
}

void LogViewerLink::LogBroken(const std::string& reason)
{
    m_dialog.SetStatus(QStringLiteral("The log transfer was broken off (%1); no partial file is kept")
                           .arg(QString::fromStdString(reason)));
}
