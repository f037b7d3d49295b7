#pragma once

#include "core/msg/WindowMessage.h"
#include "core/viewer/LiveStartPhase.h"
#include "core/viewer/NotifyReaction.h"
#include "core/video/SnapshotNaming.h"
#include "core/viewer/ServerDescriptor.h"
#include "ui/video/VideoWindowState.h"
#include "ui/viewer/AlarmFlasher.h"
#include "ui/viewer/LiveVideoSwitch.h"
#include "ui/viewer/SessionButtonRow.h"
#include "ui/viewer/ViewerSessions.h"
#include "ui/viewer/ViewerSetupMode.h"
#include "ui/viewer/ViewerStatusPanel.h"
#include "ui/viewer/ViewerVideo.h"

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class CInformationDlg;
class CUserViewDlg;
class CWindowTimers;
class ChannelAudioControl;
class NotifyForwarder;
class ReconnectController;
class SignalMonitor;
class ViewerShortcutKeys;
class ServerListView;
class QWidget;

// The main window's sessions with recorders and their live video: the
// server list, the video pane and layout panel, the channel and audio
// controls, the session buttons and the message list. Every notification
// acts on the session that posted it; commands act on the current session
// (the selected row).
class LiveViewer : public QObject, private VideoWindowListener {
    Q_OBJECT
public:
    static constexpr int kBtnDisconnect = SessionButtonRow::kDisconnect;
    static constexpr int kBtnLiveOn = SessionButtonRow::kLiveOn;
    static constexpr int kBtnLiveOff = SessionButtonRow::kLiveOff;

    // Places its controls on `window`; the information panel `info` shows
    // each session's status lines, the current server and the bit rate.
    // eventLog writes a line to the local event log.
    LiveViewer(QWidget* window, CInformationDlg* info, std::function<void(const QString&)> eventLog);
    ~LiveViewer() override;

    // Opens a session (appended as the last row, made current) and logs in;
    // the row is listed a second later. False, with message 6034, when the
    // recorder could not be reached.
    bool Connect(const QString& address, const QString& port, const QString& protocol, const QString& account,
                 const QString& password, const ServerDescriptor& server);
    // Button 205: closes the current session; later rows move up and their
    // live video starts again.
    void DisconnectCurrent();
    void StartLiveCurrent();  // button 209
    void StopLiveCurrent();   // button 231
    // A row of the list was clicked: the session left is no longer heard.
    void SelectSession(int index);
    // Before a hand-over and at window end: every session is stopped and closed.
    void CloseAllSessions();

    // A status line of the current session (of the window while there is none).
    void ShowStatus(const QString& text) { m_status.Show(text); }
    // The current session's lines (the window's while there is none): what
    // the message list shows, without its time stamps.
    QStringList VisibleStatusLines() const { return m_status.VisibleLines(); }

    // Any listed session shows live video (its callback is registered).
    bool AnyListedSessionLive() const { return m_sessions.AnyListedLive(); }
    // The current session shows live video.
    bool CurrentLive() const { return m_sessions.CurrentLive(); }
    // The current session is listed and logged on as administrator: remote
    // setup may be asked for.
    bool CurrentMayOpenSetup() const { return m_sessions.CurrentMayOpenSetup(); }
    // The password the current recorder keeps for its administrator.
    std::string CurrentAdminPassword() const { return m_sessions.CurrentAdminPassword(); }
    // The model name of the server record the current session was opened from.
    void SetCurrentServerType(const QString& typeText);
    // While the remote setup pages are open, new masks refresh the stored
    // settings block instead of restarting live video.
    void SetSetupMode(bool on) { m_video.state.setupMode = on; }
    bool SetupMode() const { return m_video.state.setupMode; }
    // Remote setup of the current recorder (button 222, after the password).
    ViewerSetupMode& Setup() { return *m_setup; }
    const LiveStartPhase& StartPhase() const { return m_startPhase; }
    const AlarmDisplay& Alarm() const { return m_alarms->Display(); }
    // Panes the overlay marks as alarmed.
    std::uint16_t AlarmedPanes() const { return m_alarms->AlarmedPanes(); }

    // Where the sessions post their notifications (message 1224).
    HWND NotifyWindow() const;
    int Current() const { return m_sessions.current; }
    const ViewerSessionTable& Sessions() const { return m_sessions.table; }
    std::uint16_t OccupiedPanes() const { return m_video.occupiedPanes; }
    CLiveDecoder& Decoder() { return m_video.decoder; }
    // The pane last clicked (or placed by a user view): the snapshot channel.
    int SelectedChannel() const { return m_video.state.selectedChannel; }
    // The recorder and camera a pane shows, as a snapshot records them.
    SnapshotSource SourceOfPane(int channel) const;
    CUserViewDlg* UserView() const { return m_userView; }
    const ReconnectController& Reconnect() const { return *m_reconnect; }
    const SignalMonitor& Signal() const { return *m_signal; }
    ViewerShortcutKeys& Shortcuts() { return *m_shortcuts; }

    // The Log Viewer's transfers: a session object by row and its poll timer.
    CZERDNetwork& SessionObject(int index) { return m_sessions.table.At(index).session; }
    void StopPoll(int index);
    void RestartPoll(int index);
    // A refusal (113) for which this answers true ends a log request as a
    // missing log (120) does: the transfer stops and polling resumes.
    void SetLogRefusalFilter(std::function<bool(unsigned sessionId)> filter) { m_logRefusal = std::move(filter); }
    // Bytes for the current server's serial (PTZ) line; false without one.
    bool PutSerialPortData(unsigned char* data, int length);

signals:
    // Every notification, after the window has acted on it.
    void notified(unsigned sessionId, int code);
    // The current session changed, or what may be done with it.
    void currentSessionChanged();
    // The video fills the screen, or no longer does.
    void fullScreenChanged(bool on);
    // Live video of a session started or stopped, or a session went.
    void liveChanged();
    // A pane was selected: the session row that owns it and the camera it
    // shows (-1 for none).
    void paneSelected(int server, int camera);
    // Session row `index` has a new settings block.
    void settingsReceived(int index);

private:
    void buildControls(QWidget* window);
    void onPosted(unsigned message, WPARAM wParam, LPARAM lParam);
    void onNotify(unsigned sessionId, int code);
    void applyReaction(const NotifyReaction& reaction);
    void onTimer(int id);
    void listNewRows();
    void fetchPendingSettings();
    void onSettingsReceived(int index);
    void onMasksChanged(int index);
    void onHostKeyChanged(int index);
    void livePanesChanged(bool placesKept);
    void disconnect(int index);
    void stopSession(int index);
    void showCurrentSession();
    void updateSessionButtons();
    void onRepaintTimer();
    void StopAlarmDisplay() override;
    void FullScreenChanged(bool on) override;
    void LayoutApplied() override;
    void PaneSelected(int channel, int server, int camera, int width, int height) override;
    void CameraSetupClick(unsigned message, int x, int y) override { m_setup->OnPreviewClick(message, x, y); }
    void showMessage(const MessageRequest& message);

    // Declared first, destroyed last: the decoder outlives every session and
    // widget that feeds or draws it.
    ViewerVideo m_video;
    ViewerSessions m_sessions;

    QWidget* m_window;
    std::function<void(const QString&)> m_eventLog;
    ViewerStatusPanel m_status;
    LiveStartPhase m_startPhase;

    NotifyForwarder* m_forwarder = nullptr;
    CWindowTimers* m_timers = nullptr;
    ChannelAudioControl* m_controls = nullptr;
    ServerListView* m_serverList = nullptr;
    SessionButtonRow* m_sessionButtons = nullptr;
    CUserViewDlg* m_userView = nullptr;
    std::unique_ptr<AlarmFlasher> m_alarms;
    std::unique_ptr<LiveVideoSwitch> m_live;
    std::function<bool(unsigned)> m_logRefusal;
    std::unique_ptr<ViewerSetupMode> m_setup;
    ReconnectController* m_reconnect = nullptr;
    SignalMonitor* m_signal = nullptr;
    ViewerShortcutKeys* m_shortcuts = nullptr;
};
