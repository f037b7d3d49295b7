#include "ui/viewer/LiveViewer.h"

#include "core/dvr/NotifyCodes.h"
#include "core/config/RegistryBackend.h"
#include "core/dvr/SettingsBlock.h"
#include "core/servers/SetupAccess.h"
#include "core/viewer/ConnectRequest.h"
#include "core/viewer/LiveControl.h"
#include "core/viewer/ViewerTimers.h"
#include "ui/app/WindowTimers.h"
#include "ui/video/CChannelPosDlg.h"
#include "ui/video/CRenderWnd.h"
#include "ui/video/CUserViewDlg.h"
#include "platform/registry/RegistryHostKeyPins.h"
#include "ui/viewer/ChannelAudioControl.h"
#include "ui/viewer/HostKeyQuestion.h"
#include "ui/viewer/NotifyForwarder.h"
#include "ui/viewer/ReconnectController.h"
#include "ui/viewer/SignalMonitor.h"
#include "ui/viewer/ViewerShortcutKeys.h"
#include "ui/viewer/ServerListView.h"
#include "ui/viewer/ViewerMessageBox.h"
#include "ui/viewer/ViewerText.h"

#include <QApplication>
#include <QPushButton>
#include <QThread>


namespace {

constexpr int kStrSessionClosed = 6032;
constexpr int kStrServerListed = 6033;
constexpr int kStrCannotConnect = 6034;
constexpr int kStrConnecting = 6035;

// H.264 stream map; the decoder also recognises MPEG-4 video by its bytes.
constexpr int kDecoderModeH264 = 1;
constexpr int kAddRowDelayMs = 1000;
constexpr int kRestartPauseMs = 100;

} // namespace

LiveViewer::LiveViewer(QWidget* window, CInformationDlg* info, std::function<void(const QString&)> eventLog)
    : QObject(window)
    , m_window(window)
    , m_eventLog(std::move(eventLog))
    , m_status(info, m_sessions)
{
    m_forwarder = new NotifyForwarder([this](unsigned m, WPARAM w, LPARAM l) { onPosted(m, w, l); }, this);
    m_timers = new CWindowTimers([this](int id) { onTimer(id); }, this);
    m_alarms = std::make_unique<AlarmFlasher>(m_sessions, m_video, *m_timers);
    buildControls(window);
    m_video.decoder.Initialise(m_video.window->Handle(), kDecoderModeH264, LiveSessionState::kAssumedWidth,
                               LiveSessionState::kAssumedHeight, false);
    m_video.decoder.SetDeinterlace(true);
}

LiveViewer::~LiveViewer()
{
    CloseAllSessions();
    // The video widgets draw from the decoder, which goes with this object.
    delete m_video.layoutPanel;
    delete m_video.window;
}

void LiveViewer::buildControls(QWidget* window)
{
    m_video.window = new CRenderWnd(&m_video.decoder, &m_video.overlay, &m_video.state, window);
    m_video.window->setGeometry(CRenderWnd::kWindowedGeometry);
    m_video.window->SetListener(this);
    m_video.layoutPanel = new CChannelPosDlg(m_video.window, &m_video.state, window);
    m_video.layoutPanel->setGeometry(818, 425, 198, 82);
    m_video.layoutPanel->SetListener(this);
    m_userView = new CUserViewDlg(m_video.window, m_video.layoutPanel, &m_video.state, &m_video.overlay, window);
    m_userView->move(809, 507);

    m_controls = new ChannelAudioControl(window, m_sessions, m_video.decoder, this);

    m_serverList = new ServerListView(window);
    connect(m_serverList, &ServerListView::rowClicked, this, &LiveViewer::SelectSession);

    m_sessionButtons = new SessionButtonRow(window);
    connect(m_sessionButtons, &SessionButtonRow::disconnectPressed, this, &LiveViewer::DisconnectCurrent);
    connect(m_sessionButtons, &SessionButtonRow::liveOnPressed, this, &LiveViewer::StartLiveCurrent);
    connect(m_sessionButtons, &SessionButtonRow::liveOffPressed, this, &LiveViewer::StopLiveCurrent);
    updateSessionButtons();

    m_live = std::make_unique<LiveVideoSwitch>(LiveVideoSwitch::Parts{
        m_sessions, m_video, *m_timers, m_status, *m_controls, *m_alarms,
        [this](const MessageRequest& message) { showMessage(message); }});
    m_setup = std::make_unique<ViewerSetupMode>(ViewerSetupMode::Parts{
        window, m_forwarder->Handle(), m_sessions, m_video.state, *m_timers, *m_controls, *m_video.layoutPanel,
        *m_live, *m_video.window});
    m_reconnect = new ReconnectController(m_sessions, m_video, m_status, m_forwarder->Handle(), this);
    m_signal = new SignalMonitor(m_video, this);
    m_shortcuts = new ViewerShortcutKeys(window, m_video.window, m_video.layoutPanel, m_video.state);
}

bool LiveViewer::Connect(const QString& address, const QString& port, const QString& protocol,
                         const QString& account, const QString& password, const ServerDescriptor& server)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto index = m_sessions.table.Append();
    if (!index) {
        QApplication::restoreOverrideCursor();
        showMessage({LangText::Id(kStrCannotConnect), MessageIcon::Error});
        return false;
    }
    auto& row = m_sessions.table.At(*index);
    row.descriptor = server;
    row.record.live.Attach(&m_video.decoder, m_forwarder->Handle());
    const int previous = m_sessions.current;
    m_sessions.current = *index;

    QByteArray host = address.toLocal8Bit();
    const std::uint16_t portNumber = ParsePortText(port.toStdString());
    if (!row.session.Create(host.data(), static_cast<short>(portNumber), IsTcpProtocol(protocol.toStdString()),
                            kMsgNetworkNotify, m_forwarder->Handle(), 0)) {
        m_sessions.table.Remove(*index);
        m_sessions.current = previous;
        QApplication::restoreOverrideCursor();
        showMessage({LangText::Id(kStrCannotConnect), MessageIcon::Error});
        ShowStatus(TextOf(LangText::Id(kStrCannotConnect)));
        return false;
    }
    // What was said before the first session shows in its message list.
    if (*index == 0)
        m_status.HandWindowLinesTo(0);
    QByteArray user = account.toLocal8Bit();
    QByteArray secret = password.toLocal8Bit();
    row.session.SessionOpen(user.data(), secret.data());
    m_reconnect->Remember(*index, server.name, {address, port, protocol, account, password});
    m_status.ShowCurrentSession();
    m_controls->ShowCurrentPanel();
    m_status.ShowFor(*index, TextOf(LangText::Id(kStrConnecting)));
    QApplication::restoreOverrideCursor();
    m_timers->SetTimer(kTimerAddServerRow, kAddRowDelayMs);
    return true;
}

HWND LiveViewer::NotifyWindow() const
{
    return m_forwarder->Handle();
}

void LiveViewer::onPosted(unsigned message, WPARAM wParam, LPARAM lParam)
{
    if (message == kMsgNetworkNotify) {
        onNotify(static_cast<unsigned>(wParam), static_cast<int>(lParam));
        return;
    }
    if (message == kMsgSetupClosed) {
        m_setup->OnSetupClosed();
        // Leaving setup starts live video again, so Capture is usable again.
        emit currentSessionChanged();
        return;
    }
    // Anything else (4024 among them) is accepted and ignored.
    if (message != kMsgPictureSizeKnown || wParam >= static_cast<WPARAM>(ChannelPanel::kChannels))
        return;
    const int channel = static_cast<int>(wParam);
    for (int i = 0; i < m_sessions.table.Count(); ++i)
        if ((m_sessions.table.At(i).record.live.ownedPanes >> channel) & 1u)
            m_sessions.table.At(i).record.live.MarkSizeKnown(channel);
    if (channel == m_video.state.selectedChannel)
        m_status.ShowPictureSize(m_video.decoder.GetVideoWidth(channel), m_video.decoder.GetVideoHeight(channel));
    m_video.window->update();
}

void LiveViewer::onNotify(unsigned sessionId, int code)
{
    const auto index = m_sessions.table.FindBySessionId(sessionId);
    if (const auto flag = AdminFlagForNotify(code); flag && index) {
        m_sessions.table.At(*index).record.adminFlag = *flag;
        emit currentSessionChanged();
    }
    if (code == kNotifyOperationRefused && m_logRefusal && m_logRefusal(sessionId))
        code = kNotifyLogNotFound;
    const NotifyReaction reaction = m_reconnect->Adjust(index, code, ReactToNotify(index, code));
    if (reaction.handoff == NotifyHandoff::Upload || code == kNotifyOperationRefused)
        m_setup->OnUploadNotify(sessionId, code);
    applyReaction(reaction);
    emit notified(sessionId, code);
}

void LiveViewer::StopPoll(int index)
{
    if (m_sessions.table.Has(index))
        m_timers->KillTimer(index);
}

void LiveViewer::RestartPoll(int index)
{
    if (m_sessions.table.Has(index))
        m_timers->SetTimer(index, kPollPeriodMs);
}

void LiveViewer::applyReaction(const NotifyReaction& r)
{
    ViewerSessionTable& sessions = m_sessions.table;
    if (r.ignored || !sessions.Has(r.session))
        return;
    if (r.status)
        m_status.ShowFor(r.session, TextOf(*r.status));
    if (r.eventLog && m_eventLog)
        m_eventLog(QString::fromStdString(*r.eventLog));
    if (r.stopSession)
        stopSession(r.session);
    if (r.disconnect)
        disconnect(r.session);
    for (int id : r.stopTimers) {
        m_timers->KillTimer(id);
        // Another session may still wait to be listed.
        if (id == kTimerAddServerRow && sessions.Count() > 0 && !sessions.At(sessions.Count() - 1).record.listed)
            m_timers->SetTimer(kTimerAddServerRow, kAddRowDelayMs);
    }
    if (!r.disconnect) {
        for (const TimerStart& start : r.startTimers)
            m_timers->SetTimer(start.id, start.periodMs);
        if (r.fetchSettings)
            sessions.At(r.session).settingsFetchPending = true;
        // An upload step of no upload of ours ends whatever the recorder
        // thought was running: poll again.
        if (r.restartPollIfUploadEnded && !m_setup->UploadRunningOn(sessions.At(r.session).session.SessionId()))
            m_timers->SetTimer(r.session, kPollPeriodMs);
    }
    if (r.message)
        showMessage(*r.message);
    if (r.disconnect)
        return;
    switch (r.handoff) {
    case NotifyHandoff::MasksChanged: onMasksChanged(r.session); break;
    case NotifyHandoff::SettingsReceived: onSettingsReceived(r.session); break;
    case NotifyHandoff::HostKeyChanged: onHostKeyChanged(r.session); break;
    default: break;
    }
}

void LiveViewer::onTimer(int id)
{
    if (IsPollTimer(id)) {
        if (m_sessions.table.Has(id))
            m_sessions.table.At(id).session.SessionPoll();
        if (id == 0)
            m_video.window->RequestRedraw();
        return;
    }
    const auto rule = FindTimerRule(id);
    if (!rule)
        return;
    if (rule->oneShot)
        m_timers->KillTimer(id);
    switch (rule->duty) {
    case TimerDuty::FetchSettings: fetchPendingSettings(); break;
    case TimerDuty::AddServerRow: listNewRows(); break;
    case TimerDuty::Bandwidth: m_status.TakeSecondBytes(); break;
    case TimerDuty::LiveStarted:
        for (const TimerStart& start : m_startPhase.OnStartTimer())
            m_timers->SetTimer(start.id, start.periodMs);
        break;
    case TimerDuty::RepaintVideo: onRepaintTimer(); break;
    case TimerDuty::SetUpPtz: m_startPhase.OnPtzSetUpTimer(); break;
    case TimerDuty::DrawPanes: m_alarms->OnFlashTimer(id); break;
    default: break;
    }
}

void LiveViewer::StopAlarmDisplay()
{
    m_alarms->Stop();
}

void LiveViewer::onRepaintTimer()
{
    const auto tick = m_startPhase.OnRepaintTimer();
    if (tick.repaint)
        m_video.window->RequestRedraw();
    if (tick.stop)
        m_timers->KillTimer(kTimerRepaintUntilPtz);
}

void LiveViewer::fetchPendingSettings()
{
    for (int i = 0; i < m_sessions.table.Count(); ++i) {
        auto& row = m_sessions.table.At(i);
        if (row.settingsFetchPending) {
            row.settingsFetchPending = false;
            row.session.GetDVRInfo();
        }
    }
}

void LiveViewer::listNewRows()
{
    // Rows are listed in order, so the unlisted ones are the last.
    int last = -1;
    for (int i = m_serverList->RowCount(); i < m_sessions.table.Count(); ++i) {
        auto& row = m_sessions.table.At(i);
        m_serverList->InsertRow(i, row.descriptor);
        row.record.listed = true;
        m_status.ShowFor(i, TextOf(LangText::Id(kStrServerListed)));
        last = i;
    }
    if (last < 0)
        return;
    SelectSession(last);
    m_serverList->Focus();
    updateSessionButtons();
    m_timers->SetTimer(kTimerBandwidth, kPollPeriodMs);
    m_status.StartByteCounts();
    emit currentSessionChanged();
}

void LiveViewer::onSettingsReceived(int index)
{
    auto& row = m_sessions.table.At(index);
    row.record.settings = row.session.GetReceivedDVRInfo();
    row.record.hasSettings = true;
    row.record.live.dvrType = DvrTypeCode(row.record.settings);
    m_live->SyncVideoState();
    if (index == m_sessions.current)
        m_status.ShowServerTexts();
    // Masks that came first could not be read without the model.
    if (row.record.masksPending)
        onMasksChanged(index);
    emit settingsReceived(index);
}

void LiveViewer::onMasksChanged(int index)
{
    auto& row = m_sessions.table.At(index);
    if (!row.record.hasSettings) {
        row.record.masksPending = true;
        return;
    }
    if (SetupMode()) {
        // The setup pages edit the session's block as it stands now.
        m_setup->MasksChanged(index);
        return;
    }
    row.record.masksPending = false;
    ApplyMasksChanged(row.panel, row.channels, DvrTypeCode(row.record.settings), row.session.GetVideoChannelMask(),
                      row.session.GetAudioChannelMask(), row.session.GetSensorStatusMask());
    const bool restored = m_reconnect->RestoreChoices(index);
    if (restored)
        m_live->Restore(index);
    else
        m_live->Start(index);
    m_alarms->Mark(index);
    livePanesChanged(restored);
    row.panel.sliderEnabled = true;
    if (index == m_sessions.current)
        m_controls->ShowCurrentPanel();
}

void LiveViewer::onHostKeyChanged(int index)
{
    const auto target = m_reconnect->TargetOf(index);
    const auto store = GetRegistryBackend();
    if (!target || !store)
        return;
    const auto& row = m_sessions.table.At(index);
    const unsigned sessionId = row.session.SessionId();
    const ServerDescriptor server = row.descriptor;
    const HostKeyChange change{target->address.toStdString(), ParsePortText(target->port.toStdString()),
                               row.session.GetPinnedKeyFingerprint(), row.session.GetPresentedKeyFingerprint()};
    RegistryHostKeyPins pins(store);
    if (!AskTrustNewHostKey(m_window, change, pins))
        return;
    // Other notifications were handled while the box was open: the row may
    // have moved, or gone with its server.
    const auto now = m_sessions.table.FindBySessionId(sessionId);
    if (!now)
        return;
    disconnect(*now);
    Connect(target->address, target->port, target->protocol, target->account, target->password, server);
}

void LiveViewer::StartLiveCurrent()
{
    if (m_sessions.HasCurrent() && m_sessions.Current().record.hasSettings) {
        m_live->Start(m_sessions.current);
        livePanesChanged(false);
    }
}

void LiveViewer::StopLiveCurrent()
{
    if (m_sessions.HasCurrent()) {
        m_live->Stop(m_sessions.current);
        livePanesChanged(false);
    }
}

void LiveViewer::stopSession(int index)
{
    m_sessions.table.At(index).session.Destroy();
    m_timers->KillTimer(index);
}

void LiveViewer::DisconnectCurrent()
{
    if (m_sessions.HasCurrent())
        disconnect(m_sessions.current);
}

void LiveViewer::disconnect(int index)
{
    ViewerSessionTable& sessions = m_sessions.table;
    m_setup->SessionLeaving(index);
    auto& leaving = sessions.At(index);
    m_timers->KillTimer(kTimerRepaintUntilPtz);
    if (leaving.record.live.callbackRegistered) {
        m_live->Stop(index);
        QThread::msleep(kRestartPauseMs);
    }
    leaving.session.Destroy();
    leaving.session.SessionClose();
    m_timers->KillTimer(index);
    const bool listed = leaving.record.listed;
    auto removal = sessions.Remove(index);
    m_status.RemoveSlot(index);
    removal.row->record.live.ReleaseSlot();
    if (listed)
        m_serverList->RemoveRow(index);

    for (int moved : removal.plan.rearmPollTimers) {
        if (sessions.At(moved).record.hasSettings)
            m_timers->SetTimer(moved, kPollPeriodMs);
        else
            m_timers->KillTimer(moved);
    }
    m_timers->KillTimer(removal.plan.stopPollTimer);
    m_live->ReleaseAllPanes();
    m_sessions.current = sessions.Count() - 1;
    ShowStatus(TextOf(LangText::Id(kStrSessionClosed)));

    // Every remaining session that showed video shows it again, packed into
    // the lowest panes.
    for (int i = 0; i < sessions.Count(); ++i) {
        auto& row = sessions.At(i);
        if (!row.record.hasSettings)
            continue;
        SetButtonsFromMasks(row.panel, DvrTypeCode(row.record.settings), row.channels.availableVideo,
                            row.channels.availableAudio);
        if (row.record.live.callbackRegistered) {
            m_sessions.current = i;
            m_live->Start(i);
            m_alarms->Mark(i);
        }
    }
    m_sessions.current = sessions.Count() - 1;
    if (m_sessions.HasCurrent() && m_sessions.Current().record.listed)
        m_serverList->Select(m_sessions.current);
    updateSessionButtons();
    showCurrentSession();
    livePanesChanged(false);
}

void LiveViewer::livePanesChanged(bool placesKept)
{
    // The user view's drawing starts over when the live panes move; a session
    // back in the panes it had leaves the operator's view as it was.
    if (!placesKept)
        m_userView->Clear();
    emit liveChanged();
}

void LiveViewer::SelectSession(int index)
{
    if (!m_sessions.table.Has(index))
        return;
    if (index != m_sessions.current && m_sessions.HasCurrent()) {
        auto& left = m_sessions.Current();
        const MediaRequest request = LeaveSession(left.channels);
        left.record.live.SetAudioEnabled(false);
        if (left.record.live.callbackRegistered)
            left.session.LiveMediaControl(request.video, request.audio);
    }
    m_sessions.current = index;
    m_serverList->Select(index);
    showCurrentSession();
}

void LiveViewer::showCurrentSession()
{
    m_live->SyncVideoState();
    m_controls->ShowCurrentPanel();
    m_status.ShowCurrentSession();
    emit currentSessionChanged();
}

void LiveViewer::CloseAllSessions()
{
    for (int i = 0; i < m_sessions.table.Count(); ++i) {
        auto& row = m_sessions.table.At(i);
        if (row.record.live.callbackRegistered) {
            row.session.SetPacketLiveMediaCallback(nullptr, nullptr);
            row.record.live.callbackRegistered = false;
            row.session.LiveMediaControl(0, 0);
        }
        row.session.Destroy();
        m_timers->KillTimer(i);
        row.session.SessionClose();
    }
    for (int id : kSessionWorkTimers)
        m_timers->KillTimer(id);
}

void LiveViewer::SetCurrentServerType(const QString& typeText)
{
    if (!m_sessions.HasCurrent())
        return;
    m_sessions.Current().record.typeText = typeText;
    m_status.ShowServerTexts();
}

void LiveViewer::PaneSelected(int, int server, int camera, int width, int height)
{
    m_status.ShowPictureSize(width, height);
    emit paneSelected(server, camera);
}

bool LiveViewer::PutSerialPortData(unsigned char* data, int length)
{
    return m_sessions.HasCurrent() && m_sessions.Current().session.PutSerialPortData(data, length);
}

void LiveViewer::LayoutApplied()
{
    m_userView->Button(CUserViewDlg::kApply)->setEnabled(false);
}

SnapshotSource LiveViewer::SourceOfPane(int channel) const
{
    SnapshotSource source;
    PaneRecord& pane = m_video.window->Pane(channel);
    const int server = pane.OwningServer();
    if (!m_sessions.table.Has(server))
        return source;
    const auto& row = m_sessions.table.At(server);
    source.recorderName = row.descriptor.name;
    source.recorderAddress = row.descriptor.address;
    const int camera = pane.ShownCamera();
    if (camera >= 0) {
        source.cameraNumber = camera + 1;
        if (row.record.hasSettings)
            source.cameraName = CameraName(row.record.settings, camera);
    }
    return source;
}

void LiveViewer::FullScreenChanged(bool on)
{
    m_userView->setVisible(!on);
    m_serverList->SetVisible(!on);
    m_controls->SetSliderVisible(!on);
    emit fullScreenChanged(on);
}

void LiveViewer::updateSessionButtons()
{
    m_sessionButtons->SetEnabled(m_serverList->RowCount() > 0);
}

void LiveViewer::showMessage(const MessageRequest& message)
{
    ShowViewerMessage(m_window, message);
}
