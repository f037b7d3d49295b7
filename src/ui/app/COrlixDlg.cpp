#include "ui/app/COrlixDlg.h"

#include "core/config/RegConfig.h"
#include "platform/app/DrivePaths.h"
#include "platform/app/EventLogWriter.h"
#include "platform/app/LocaleClock.h"
#include "platform/app/ProgramLauncher.h"
#include "ui/app/AppFonts.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/app/WindowTimers.h"
#include "ui/controls/CtrlId.h"
#include "ui/controls/DialogKeys.h"
#include "ui/viewer/LiveViewer.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <ctime>

namespace {

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

constexpr int kIdClose = 1000;
constexpr int kIdMinimize = 1221;
constexpr int kIdRemotePlayback = 201;
constexpr int kIdLocalPlayback = 1003;

} // namespace

COrlixDlg::COrlixDlg(QWidget* parent)
    : QDialog(parent)
    , m_timers(new CWindowTimers([this](int id) { onTimer(id); }, this))
{
    createFolderTree();
    setWindowTitle("DVR Ombrel");
    setObjectName("m_bg_Liveview");
    setFixedSize(kWindowWidth, kWindowHeight);
    buildControls();

    ShowStatus("Start Event Log...");
    CRegConfig reg;
    if (reg.SetKey("Software\\DVR\\", true))
        reg.WriteInt("Boot", 0);
}

COrlixDlg::~COrlixDlg()
{
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
    setStyleSheet("#m_bg_Liveview { background: #1b1d22; }"
                  "QLabel { color: #c8ccd4; }"
                  "QPushButton { color: #e6e8ec; background: #2c3038; border: 1px solid #3c424c;"
                  "  border-radius: 4px; }"
                  "QPushButton:hover { background: #363b45; }"
                  "QPushButton:checked { background: #3d6fb4; }"
                  "QPushButton:disabled { color: #5c626c; }"
                  "QListWidget { color: #c8ccd4; background: #14161a; border: 1px solid #2c3038; }");

    auto addButton = [this](int id, const QString& text, const QString& element, QRect where) {
        auto* button = new QPushButton(text, this);
        SetCtrlId(button, id);
        button->setObjectName(element);
        button->setGeometry(where);
        button->setFont(AppFonts::Small());
        button->setAutoDefault(false);
        return button;
    };
    connect(addButton(kIdClose, "x", "m_btn_T_Close", {1000, 10, 14, 14}), &QPushButton::clicked, this,
            &QDialog::accept);
    connect(addButton(kIdMinimize, "_", "m_btn_T_Minimize", {979, 10, 14, 14}), &QPushButton::clicked, this,
            &QWidget::showMinimized);
    connect(addButton(kIdRemotePlayback, "Remote", "m_btn_Remote", {893, 82, 56, 61}), &QPushButton::clicked, this,
            [this] { handOver(kTimerRemotePlayback, 100); });
    connect(addButton(kIdLocalPlayback, "Local", "m_btn_Local", {952, 82, 56, 61}), &QPushButton::clicked, this,
            [this] { handOver(kTimerLocalPlayback, 100); });

    auto* version = new QLabel(VersionText(), this);
    version->setFont(AppFonts::Small());
    version->setGeometry(834, 740, 180, 18);

    m_messageList = new QListWidget(this);
    m_messageList->setFont(AppFonts::Small());
    m_messageList->setGeometry(834, 430, 180, 280);

    m_viewer = new LiveViewer(this, m_messageList, [this](const QString& line) { WriteEventLog(line); });
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
    // Until the server selection dialog names it, a server is known by its address.
    const std::string where = address.toStdString();
    return m_viewer->Connect(address, port, protocol, account, password, ServerDescriptor{where, where});
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
