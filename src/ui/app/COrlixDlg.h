#pragma once

#include "ui/skin/CSkinEngine.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <memory>

class CInformationDlg;
class LiveCapture;
class CLogViewDlg;
class CTimeDlg;
class CWindowTimers;
class LiveViewer;
class LogViewerLink;
class MainWindowControls;
class MainWindowServerHost;
class SidePanels;

// What the main window is started with.
struct MainWindowOptions {
    int languageIndex = 0;  // picks the skin; any index but 0..2 is English
    QStringList skinSearchPath = CSkinEngine::DefaultSearchPath();
};

// The viewer's one top-level window, run modally by the application.
class COrlixDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTimerRemotePlayback = 130;
    static constexpr int kTimerLocalPlayback = 140;
    static constexpr int kTimerRestart = 132;

    explicit COrlixDlg(QWidget* parent = nullptr, const MainWindowOptions& options = {});
    ~COrlixDlg() override;

    // Appends a status line of the current session to the message list.
    void ShowStatus(const QString& text);
    // The lines the message list shows.
    QStringList StatusLines() const;

    // Opens a session with a recorder; the texts are those of a server record.
    // The session is named after the registered server with that address and
    // port, when there is one.
    bool Connect(const QString& address, const QString& port, const QString& protocol, const QString& account,
                 const QString& password);
    // Stops and closes every session (before a program hand-over).
    void CloseAllSessions();
    LiveViewer& Viewer() { return *m_viewer; }
    const SidePanels& Panels() const { return *m_sidePanels; }
    CInformationDlg& Information() { return *m_info; }
    LiveCapture& Capture() { return *m_capture; }
    const CSkinEngine& Skin() const { return m_skin; }

    // The dialogs opened from here: server selection (1008), the
    // configuration dialog (1002) and the password check before remote setup
    // (222, true when confirmed). The window starts with its own; a button
    // whose dialog is taken away (an empty function) goes grey.
    void SetServerSelection(std::function<void()> open);
    void SetConfigurationDialog(std::function<void()> open);
    void SetSetupPasswordCheck(std::function<bool()> confirm);

    // Appends a line to today's local event log; a failure becomes a status line.
    void WriteEventLog(const QString& text);

    // Starts another program in the install folder and closes this window;
    // when it cannot be started, says so and stays open.
    bool LaunchProgram(const QString& commandLine);

    // The language was changed: restart the viewer so it takes effect.
    void RestartForNewLanguage();

    static QString VersionText() { return QStringLiteral("ver. 1.3.2.6"); }

    // Shows the Log Viewer (Ctrl+L, the user-view panel's log-viewer button);
    // with a session open it shows the month fetched since log-in, or asks
    // for the shown month when that is another.
    void OpenLogViewer();
    CLogViewDlg* LogViewer() const { return m_logViewer; }
    const LogViewerLink* LogLink() const { return m_logLink; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void createFolderTree();
    void buildControls();
    void applySkin(const MainWindowOptions& options);
    void connectCommands();
    void installDialogs();
    void onRemoteSetup();
    void onCapture();
    void onTimer(int id);
    void handOver(int timerId, int delayMs);

    CWindowTimers* m_timers;
    CSkinEngine m_skin;        // the language's skin, applied to every element
    CSkinEngine m_secondSkin;  // loaded, given no elements
    MainWindowControls* m_controls = nullptr;
    SidePanels* m_sidePanels = nullptr;
    CInformationDlg* m_info = nullptr;
    CTimeDlg* m_clock = nullptr;
    LiveViewer* m_viewer = nullptr;
    std::unique_ptr<MainWindowServerHost> m_serverHost;
    std::unique_ptr<LiveCapture> m_capture;
    std::function<void()> m_openServerSelection;
    std::function<void()> m_openConfiguration;
    std::function<bool()> m_confirmSetupPassword;
    CLogViewDlg* m_logViewer = nullptr;
    LogViewerLink* m_logLink = nullptr;
};
