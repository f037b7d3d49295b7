#pragma once

#include "core/msg/WindowMessage.h"
#include "core/video/OverlayState.h"
#include "core/viewer/AlarmDisplay.h"
#include "core/viewer/LiveControl.h"
#include "core/viewer/LiveStartPhase.h"
#include "core/viewer/NotifyReaction.h"
#include "core/viewer/ServerDescriptor.h"
#include "platform/decoder/LiveDecoder.h"
#include "ui/video/VideoWindowState.h"
#include "ui/viewer/SessionRecord.h"

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <ctime>
#include <functional>

class CChannelPosDlg;
class CInformationDlg;
class CRenderWnd;
class CWindowTimers;
class ChannelButtonBar;
class NotifyForwarder;
class ServerListView;
class QPushButton;
class QWidget;

// The main window's sessions with recorders and their live video: the
// server list, the video pane and layout panel, the channel and audio
// controls, the session buttons and the message list. Every notification
// acts on the session that posted it; commands act on the current session
// (the selected row).
class LiveViewer : public QObject, private VideoWindowListener {
    Q_OBJECT
public:
    static constexpr int kBtnDisconnect = 205;
    static constexpr int kBtnLiveOn = 209;
    static constexpr int kBtnLiveOff = 231;

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
    void ShowStatus(const QString& text);
    // The current session's lines (the window's while there is none): what
    // the message list shows, without its time stamps.
    QStringList VisibleStatusLines() const;

    // Any listed session shows live video (its callback is registered).
    bool AnyListedSessionLive() const;
    // The current session shows live video.
    bool CurrentLive() const;
    // The current session is listed and logged on as administrator: remote
    // setup may be asked for.
    bool CurrentMayOpenSetup() const;
    // The password the current recorder keeps for its administrator.
    std::string CurrentAdminPassword() const;
    // The model name of the server record the current session was opened from.
    void SetCurrentServerType(const QString& typeText);
    // While the remote setup pages are open, new masks refresh the stored
    // settings block instead of restarting live video.
    void SetSetupMode(bool on) { m_videoState.setupMode = on; }
    bool SetupMode() const { return m_videoState.setupMode; }
    const LiveStartPhase& StartPhase() const { return m_startPhase; }
    const AlarmDisplay& Alarm() const { return m_alarm; }
    // Panes the overlay marks as alarmed.
    std::uint16_t AlarmedPanes() const;

    int Current() const { return m_current; }
    const ViewerSessionTable& Sessions() const { return m_sessions; }
    std::uint16_t OccupiedPanes() const { return m_occupiedPanes; }
    CLiveDecoder& Decoder() { return m_decoder; }

signals:
    // The current session changed, or what may be done with it.
    void currentSessionChanged();
    // The video fills the screen, or no longer does.
    void fullScreenChanged(bool on);

private:
    void buildControls(QWidget* window);
    void onPosted(unsigned message, WPARAM wParam, LPARAM lParam);
    void onNotify(unsigned sessionId, int code);
    void applyReaction(const NotifyReaction& reaction);
    void onTimer(int id);
    void listNewRows();
    void fetchPendingSettings();
    void updateBandwidth();
    void onSettingsReceived(int index);
    void onMasksChanged(int index);
    void startLive(int index);
    void stopLive(int index);
    void disconnect(int index);
    void stopSession(int index);
    void showStatus(int index, const QString& text);
    void refreshMessages();
    void refreshServerTexts();
    void showCurrentPanel();
    void syncVideoState();
    void updateSessionButtons();
    void onVideoPressed(int channel);
    void onAudioPressed(int channel);
    void onMutePressed();
    void onSliderReleased(int position);
    void applyAudio(ViewerSessionTable::Row& row, const AudioChange& change);
    void onRepaintTimer();
    void markAlarms(int index);
    void onAlarmFlash(int id);
    void StopAlarmDisplay() override;
    void FullScreenChanged(bool on) override;
    void PaneSelected(int channel, int server, int camera, int width, int height) override;
    void showMessage(const MessageRequest& message);
    int dvrType(int index) const;

    // Declared first, destroyed last: the decoder outlives every session and
    // widget that feeds or draws it.
    CLiveDecoder m_decoder;
    OverlayState m_overlay;
    VideoWindowState m_videoState;
    ViewerSessionTable m_sessions;
    std::uint16_t m_occupiedPanes = 0;
    int m_current = -1;

    QWidget* m_window;
    CInformationDlg* m_info;
    std::function<void(const QString&)> m_eventLog;
    QStringList m_windowLines;  // said before any session was opened
    std::uint32_t m_lastSecondBytes = 0;  // received over all sessions, taken by timer 4000
    LiveStartPhase m_startPhase;
    AlarmDisplay m_alarm;

    NotifyForwarder* m_forwarder = nullptr;
    CWindowTimers* m_timers = nullptr;
    CRenderWnd* m_video = nullptr;
    CChannelPosDlg* m_layoutPanel = nullptr;
    ChannelButtonBar* m_buttons = nullptr;
    ServerListView* m_serverList = nullptr;
    QPushButton* m_disconnect = nullptr;
    QPushButton* m_liveOn = nullptr;
    QPushButton* m_liveOff = nullptr;
};
