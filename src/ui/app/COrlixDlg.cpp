#include "ui/app/COrlixDlg.h"

#include "core/config/RegConfig.h"
#include "core/servers/ServerRecord.h"
#include "core/viewer/SetupRequest.h"
#include "platform/app/DrivePaths.h"
#include "platform/app/EventLogWriter.h"
#include "platform/app/LocaleClock.h"
#include "platform/app/ProgramLauncher.h"
#include "ui/app/AppFonts.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/app/MainWindowControls.h"
#include "ui/app/MainWindowServerHost.h"
#include "ui/app/MainWindowSkin.h"
#include "ui/app/SidePanels.h"
#include "ui/app/WindowTimers.h"
#include "ui/controls/CtrlId.h"
#include "ui/controls/DialogKeys.h"
#include "ui/ptz/CPTZController.h"
#include "ui/ptz/PtzPanel.h"
#include "ui/servers/CConfigDlg.h"
#include "ui/servers/CLoginDlg.h"
#include "ui/servers/CServerSelect.h"
#include "ui/skin/SkinElements.h"
#include "ui/status/CInformationDlg.h"
#include "ui/status/CTimeDlg.h"
#include "ui/status/CLogViewDlg.h"
#include "ui/status/LogViewerLink.h"
#include "ui/video/CPictureDlg.h"
#include "ui/video/CUserViewDlg.h"
#include "ui/video/LiveCapture.h"
#include "ui/viewer/LiveViewer.h"
#include "ui/viewer/ViewerShortcutKeys.h"
#include "ui/viewer/ViewerText.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include <ctime>

namespace {

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

// The right-hand column: the clock under the title buttons, the information
// panel above its tab buttons.
constexpr QRect kClockArea{818, 40, CTimeDlg::kWidth, CTimeDlg::kHeight};
constexpr QRect kInformationArea{818, 166, CInformationDlg::kWidth, CInformationDlg::kHeight};

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    return icon == MessageIcon::Warning ? QMessageBox::Warning
        : icon == MessageIcon::Error    ? QMessageBox::Critical
                                        : QMessageBox::Information;
}

} // namespace

COrlixDlg::COrlixDlg(QWidget* parent, const MainWindowOptions& options)
    : QDialog(parent)
    , m_timers(new CWindowTimers([this](int id) { onTimer(id); }, this))
    , m_skin(options.skinSearchPath)
    , m_secondSkin(options.skinSearchPath)
{
    createFolderTree();
    setWindowTitle("DVR Ombrel");
    setFixedSize(kWindowWidth, kWindowHeight);
    buildControls();
    applySkin(options);
    connectCommands();
    installDialogs();
    // Hidden until asked for; its link follows every log-in from the start.
    m_logViewer = new CLogViewDlg(this);
    m_logLink = new LogViewerLink(*m_viewer, *m_logViewer);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this), &QShortcut::activated, this,
            &COrlixDlg::OpenLogViewer);

    ShowStatus("Start Event Log...");
    CRegConfig reg;
    if (reg.SetKey("Software\\DVR\\", true))
        reg.WriteInt("Boot", 0);
}

COrlixDlg::~COrlixDlg()
{
    // The log link leaves the sessions before they close.
    delete m_logLink;
    delete m_logViewer;
    // Sessions close while the widgets they feed still exist.
    delete m_viewer;
}

void COrlixDlg::createFolderTree()
{
    for (const char* folder : {"c:\\DVR", "c:\\DVR\\Live", "c:\\DVR\\Live\\Capture", "c:\\DVR\\Remote",
                               "c:\\DVR\\Remote\\Capture", "c:\\DVR\\Remote\\Panorama",
                               "c:\\DVR\\Remote\\MediaFile", "c:\\DVR\\Remote\\LogFile"})
        drive::CreateFolder(folder);
}

void COrlixDlg::buildControls()
{
    m_controls = new MainWindowControls(this);
    m_info = new CInformationDlg(this);
    m_info->setGeometry(kInformationArea);
    m_sidePanels = new SidePanels(this, m_info);
    m_clock = new CTimeDlg(this);
    m_clock->setGeometry(kClockArea);

    auto* version = new QLabel(VersionText(), this);
    version->setFont(AppFonts::Small());
    version->setGeometry(834, 740, 180, 18);

    m_viewer = new LiveViewer(this, m_info, [this](const QString& line) { WriteEventLog(line); });
    m_serverHost = std::make_unique<MainWindowServerHost>(*m_viewer);
    m_capture = std::make_unique<LiveCapture>(m_viewer->Decoder());
    auto* ptz = qobject_cast<CPTZController*>(m_sidePanels->Panel(SidePanel::Ptz));
    new PtzPanel(this, *m_viewer, ptz);
    m_viewer->Shortcuts().LeaveArrowsWhile([ptz] { return ptz->isVisible(); });
    connect(m_viewer, &LiveViewer::fullScreenChanged, m_sidePanels, &SidePanels::SetFullScreen);
    connect(m_viewer, &LiveViewer::fullScreenChanged, m_clock, [this](bool on) { m_clock->setVisible(!on); });
}

void COrlixDlg::applySkin(const MainWindowOptions& options)
{
    m_skin.Load(SkinFileForLanguage(options.languageIndex));
    m_secondSkin.Load(SecondSkinFile());
    SkinMainWindow(this, m_skin);
    if (!m_skin.Loaded())
        ShowStatus(m_skin.Warning());
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setFont(AppFonts::Small());
}

void COrlixDlg::connectCommands()
{
    auto clicked = [this](int id, auto&& handler) {
        connect(m_controls->Button(id), &QPushButton::clicked, this, handler);
    };
    clicked(MainWindowControls::kClose, [this] { accept(); });
    clicked(MainWindowControls::kMinimize, [this] { showMinimized(); });
    clicked(MainWindowControls::kRemotePlayback, [this] { handOver(kTimerRemotePlayback, 100); });
    clicked(MainWindowControls::kLocalPlayback, [this] { handOver(kTimerLocalPlayback, 100); });
    clicked(MainWindowControls::kServerSelect, [this] {
        if (m_openServerSelection)
            m_openServerSelection();
    });
    clicked(MainWindowControls::kConfig, [this] {
        if (m_openConfiguration)
            m_openConfiguration();
    });
    clicked(MainWindowControls::kRemoteSetup, [this] { onRemoteSetup(); });
    clicked(MainWindowControls::kCapture, [this] { onCapture(); });
    // Capture needs a listed session showing live video; live may start before its row is listed.
    auto updateCapture = [this] {
        m_controls->Button(MainWindowControls::kCapture)->setEnabled(m_viewer->AnyListedSessionLive());
    };
    connect(m_viewer, &LiveViewer::liveChanged, this, updateCapture);
    connect(m_viewer, &LiveViewer::currentSessionChanged, this, updateCapture);
    connect(m_viewer->UserView(), &CUserViewDlg::logViewerRequested, this, &COrlixDlg::OpenLogViewer);
    // Remote setup is for an administrator of the current recorder.
    connect(m_viewer, &LiveViewer::currentSessionChanged, this, [this] {
        m_controls->Button(MainWindowControls::kRemoteSetup)->setEnabled(m_viewer->CurrentMayOpenSetup());
    });
}

void COrlixDlg::installDialogs()
{
    SetServerSelection([this] {
        CServerSelect dialog(*m_serverHost, this);
        dialog.exec();
    });
    SetConfigurationDialog([this] {
        CConfigDlg dialog([this] { RestartForNewLanguage(); }, this);
        dialog.exec();
    });
    SetSetupPasswordCheck([this] { return ConfirmSetupPassword(this, m_viewer->CurrentAdminPassword()); });
}

void COrlixDlg::OpenLogViewer()
{
    m_logViewer->show();
    m_logViewer->raise();
    m_logViewer->activateWindow();
    m_logLink->Opened();
}

void COrlixDlg::SetServerSelection(std::function<void()> open)
{
    m_openServerSelection = std::move(open);
    m_controls->Button(MainWindowControls::kServerSelect)->setEnabled(bool(m_openServerSelection));
}

void COrlixDlg::SetConfigurationDialog(std::function<void()> open)
{
    m_openConfiguration = std::move(open);
    m_controls->Button(MainWindowControls::kConfig)->setEnabled(bool(m_openConfiguration));
}

void COrlixDlg::SetSetupPasswordCheck(std::function<bool()> confirm)
{
    m_confirmSetupPassword = std::move(confirm);
}

void COrlixDlg::onRemoteSetup()
{
    const SetupRequestOutcome outcome = DecideSetupRequest(m_viewer->AnyListedSessionLive(), m_confirmSetupPassword);
    if (outcome.message)
        DvrMessageBox(this, TextOf(outcome.message->text), "DVR", BoxIcon(outcome.message->icon));
    if (!outcome.enterSetupMode)
        return;
    m_viewer->Setup().Open();
}

void COrlixDlg::onCapture()
{
    const int channel = m_viewer->SelectedChannel();
    const CaptureOutcome outcome = m_capture->Capture(channel, m_viewer->SourceOfPane(channel));
    ShowStatus(outcome.status);
    if (!outcome.written)
        return;
    m_sidePanels->Pictures()->ShowPicture(outcome.path);
    m_sidePanels->Press(SidePanelSelector::kTabPictures);
}

void COrlixDlg::ShowStatus(const QString& text)
{
    m_viewer->ShowStatus(text);
}

QStringList COrlixDlg::StatusLines() const
{
    return m_viewer->VisibleStatusLines();
}

bool COrlixDlg::Connect(const QString& address, const QString& port, const QString& protocol,
                        const QString& account, const QString& password)
{
    // A registered server at that address and port lends its name; any other
    // is known by its address.
    const std::string where = address.toStdString();
    ServerDescriptor server{where, where};
    CRegConfig reg;
    for (const ServerRecord& record : ServerDirectory(reg).List())
        if (record.ip == where && PortText(record.port) == port.trimmed().toStdString()) {
            server.name = record.name;
            break;
        }
    return m_viewer->Connect(address, port, protocol, account, password, server);
}

void COrlixDlg::CloseAllSessions()
{
    m_viewer->CloseAllSessions();
}

void COrlixDlg::WriteEventLog(const QString& text)
{
    if (!AppendEventLog(text.toStdString(), std::time(nullptr), LocaleClock()))
        ShowStatus("LogFile Write Error!");
}

bool COrlixDlg::LaunchProgram(const QString& commandLine)
{
    std::string error;
    if (!LaunchDetached(commandLine.toStdString(), drive::MapWindowsPath("C:\\Program Files\\DVR"), &error)) {
        DvrMessageBox(this, QString("Cannot launch %1 !").arg(commandLine), "DVR", QMessageBox::Critical);
        return false;
    }
    accept();
    return true;
}

void COrlixDlg::RestartForNewLanguage()
{
    CRegConfig reg;
    if (reg.SetKey("Software\\DVR\\", true))
        reg.WriteInt("Boot", 1);
    handOver(kTimerRestart, 500);
}

void COrlixDlg::handOver(int timerId, int delayMs)
{
    CloseAllSessions();
    m_timers->SetTimer(timerId, delayMs);
}

void COrlixDlg::onTimer(int id)
{
    m_timers->KillTimer(id);
    switch (id) {
    case kTimerRemotePlayback:
        LaunchProgram("Tessiv");
        break;
    case kTimerLocalPlayback:
        LaunchProgram("Quorrin");
        break;
    case kTimerRestart:
        LaunchProgram("Ombrel");
        break;
    default:
        break;
    }
}

void COrlixDlg::keyPressEvent(QKeyEvent* event)
{
    if (!SwallowDialogCloseKey(event))
        QDialog::keyPressEvent(event);
}

void COrlixDlg::reject()
{
    // Closing from the window frame ends the program as the close button does.
    accept();
}
