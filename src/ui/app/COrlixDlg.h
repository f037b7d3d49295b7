#pragma once

#include <QDialog>
#include <QStringList>

class CWindowTimers;
class LiveViewer;
class QListWidget;

// The viewer's one top-level window, run modally by the application.
class COrlixDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTimerRemotePlayback = 130;
    static constexpr int kTimerLocalPlayback = 140;
    static constexpr int kTimerRestart = 132;

    explicit COrlixDlg(QWidget* parent = nullptr);
    ~COrlixDlg() override;

    // Appends a status line of the current session to the message list.
    void ShowStatus(const QString& text);
    // The lines the message list shows.
    QStringList StatusLines() const;

    // Opens a session with a recorder; the texts are those of a server record.
    bool Connect(const QString& address, const QString& port, const QString& protocol, const QString& account,
                 const QString& password);
    // Stops and closes every session (before a program hand-over).
    void CloseAllSessions();
    LiveViewer& Viewer() { return *m_viewer; }

    // Appends a line to today's local event log; a failure becomes a status line.
    void WriteEventLog(const QString& text);

    // Starts another program in the install folder and closes this window;
    // when it cannot be started, says so and stays open.
    bool LaunchProgram(const QString& commandLine);

    // The language was changed: restart the viewer so it takes effect.
    void RestartForNewLanguage();

    static QString VersionText() { return QStringLiteral("ver. 1.3.2.6"); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void createFolderTree();
    void buildControls();
    void onTimer(int id);
    void handOver(int timerId, int delayMs);

    CWindowTimers* m_timers;
    QListWidget* m_messageList = nullptr;
    LiveViewer* m_viewer = nullptr;
};
