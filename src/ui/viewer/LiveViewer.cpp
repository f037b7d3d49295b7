#include "ui/viewer/LiveViewer.h"

#include "core/dvr/NotifyCodes.h"
#include "core/dvr/DvrModel.h"
#include "core/dvr/SettingsBlock.h"
#include "core/servers/SetupAccess.h"
#include "core/video/ChannelAssignment.h"
#include "core/viewer/ConnectRequest.h"
#include "core/viewer/ViewerTimers.h"
#include "platform/video/LiveChannels.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/app/WindowTimers.h"
#include "ui/status/CInformationDlg.h"
#include "ui/controls/CtrlId.h"
#include "ui/video/CChannelPosDlg.h"
#include "ui/video/CRenderWnd.h"
#include "ui/viewer/ChannelButtonBar.h"
#include "ui/viewer/NotifyForwarder.h"
#include "ui/viewer/ServerListView.h"
#include "ui/viewer/ViewerText.h"

#include <QApplication>
#include <QPushButton>
#include <QThread>

#include <cstring>
#include <limits>

namespace {

constexpr int kStrSessionClosed = 6032;
constexpr int kStrServerListed = 6033;
constexpr int kStrCannotConnect = 6034;
constexpr int kStrConnecting = 6035;

// H.264 stream map; the decoder also recognises MPEG-4 video by its bytes.
constexpr int kDecoderModeH264 = 1;
constexpr int kAddRowDelayMs = 1000;
constexpr int kRestartPauseMs = 100;

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: break;
    }
    return QMessageBox::Information;
}

QPushButton* SessionButton(QWidget* window, int id, const QString& text, const QString& element, QRect where)
{
    auto* button = new QPushButton(text, window);
    SetCtrlId(button, id);
    button->setObjectName(element);
    button->setGeometry(where);
    button->setAutoDefault(false);
    return button;
}

} // namespace

LiveViewer::LiveViewer(QWidget* window, CInformationDlg* info, std::function<void(const QString&)> eventLog)
    : QObject(window)
    , m_window(window)
    , m_info(info)
    , m_eventLog(std::move(eventLog))
{
    m_forwarder = new NotifyForwarder([this](unsigned m, WPARAM w, LPARAM l) { onPosted(m, w, l); }, this);
    m_timers = new CWindowTimers([this](int id) { onTimer(id); }, this);
    buildControls(window);
    m_decoder.Initialise(m_video->Handle(), kDecoderModeH264, LiveSessionState::kAssumedWidth,
                         LiveSessionState::kAssumedHeight, false);
    m_decoder.SetDeinterlace(true);
}

LiveViewer::~LiveViewer()
{
    // The panel may outlive this object; its rate timer must stop asking it.
    m_info->SetByteCountSource({});
    CloseAllSessions();
    // The video widgets draw from the decoder, which goes with this object.
    delete m_layoutPanel;
    delete m_video;
}

void LiveViewer::buildControls(QWidget* window)
{
    m_video = new CRenderWnd(&m_decoder, &m_overlay, &m_videoState, window);
    m_video->setGeometry(CRenderWnd::kWindowedGeometry);
    m_video->SetListener(this);
    m_layoutPanel = new CChannelPosDlg(m_video, &m_videoState, window);
    m_layoutPanel->setGeometry(818, 425, 198, 82);
    m_layoutPanel->SetListener(this);

    m_buttons = new ChannelButtonBar(window);
    connect(m_buttons, &ChannelButtonBar::videoPressed, this, &LiveViewer::onVideoPressed);
    connect(m_buttons, &ChannelButtonBar::audioPressed, this, &LiveViewer::onAudioPressed);
    connect(m_buttons, &ChannelButtonBar::mutePressed, this, &LiveViewer::onMutePressed);
    connect(m_buttons, &ChannelButtonBar::sliderReleased, this, &LiveViewer::onSliderReleased);

    m_serverList = new ServerListView(window);
    connect(m_serverList, &ServerListView::rowClicked, this, &LiveViewer::SelectSession);

    m_disconnect = SessionButton(window, kBtnDisconnect, "Discon.", "m_btn_Disconnect", {67, 643, 56, 61});
    m_liveOn = SessionButton(window, kBtnLiveOn, "Live on", "m_btn_Live_On", {126, 643, 56, 61});
    m_liveOff = SessionButton(window, kBtnLiveOff, "Live off", "m_btn_Live_Off", {126, 705, 56, 61});
    connect(m_disconnect, &QPushButton::clicked, this, &LiveViewer::DisconnectCurrent);
    connect(m_liveOn, &QPushButton::clicked, this, &LiveViewer::StartLiveCurrent);
    connect(m_liveOff, &QPushButton::clicked, this, &LiveViewer::StopLiveCurrent);
    updateSessionButtons();
}

bool LiveViewer::Connect(const QString& address, const QString& port, const QString& protocol,
                         const QString& account, const QString& password, const ServerDescriptor& server)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto index = m_sessions.Append();
    if (!index) {
        QApplication::restoreOverrideCursor();
        showMessage({LangText::Id(kStrCannotConnect), MessageIcon::Error});
        return false;
    }
    auto& row = m_sessions.At(*index);
    row.descriptor = server;
    row.record.live.Attach(&m_decoder, m_forwarder->Handle());
    const int previous = m_current;
    m_current = *index;

    QByteArray host = address.toLocal8Bit();
    const std::uint16_t portNumber = ParsePortText(port.toStdString());
    if (!row.session.Create(host.data(), static_cast<short>(portNumber), IsTcpProtocol(protocol.toStdString()),
                            kMsgNetworkNotify, m_forwarder->Handle(), 0)) {
        m_sessions.Remove(*index);
        m_current = previous;
        QApplication::restoreOverrideCursor();
        showMessage({LangText::Id(kStrCannotConnect), MessageIcon::Error});
        ShowStatus(TextOf(LangText::Id(kStrCannotConnect)));
        return false;
    }
    // What was said before the first session shows in its message list.
    if (*index == 0) {
        row.record.statusLines = m_windowLines;
        m_windowLines.clear();
    }
    QByteArray user = account.toLocal8Bit();
    QByteArray secret = password.toLocal8Bit();
    row.session.SessionOpen(user.data(), secret.data());
    refreshMessages();
    showCurrentPanel();
    showStatus(*index, TextOf(LangText::Id(kStrConnecting)));
    QApplication::restoreOverrideCursor();
    m_timers->SetTimer(kTimerAddServerRow, kAddRowDelayMs);
    return true;
}

void LiveViewer::onPosted(unsigned message, WPARAM wParam, LPARAM lParam)
{
    if (message == kMsgNetworkNotify) {
        onNotify(static_cast<unsigned>(wParam), static_cast<int>(lParam));
        return;
    }
    // Anything else (4024 among them) is accepted and ignored.
    if (message != kMsgPictureSizeKnown || wParam >= static_cast<WPARAM>(ChannelPanel::kChannels))
        return;
    const int channel = static_cast<int>(wParam);
    for (int i = 0; i < m_sessions.Count(); ++i)
        if ((m_sessions.At(i).record.live.ownedPanes >> channel) & 1u)
            m_sessions.At(i).record.live.MarkSizeKnown(channel);
    if (channel == m_videoState.selectedChannel)
        PaneSelected(channel, 0, 0, m_decoder.GetVideoWidth(channel), m_decoder.GetVideoHeight(channel));
    m_video->update();
}

void LiveViewer::onNotify(unsigned sessionId, int code)
{
    const auto index = m_sessions.FindBySessionId(sessionId);
    if (const auto flag = AdminFlagForNotify(code); flag && index) {
        m_sessions.At(*index).record.adminFlag = *flag;
        emit currentSessionChanged();
    }
    applyReaction(ReactToNotify(index, code));
}

void LiveViewer::applyReaction(const NotifyReaction& r)
{
    if (r.ignored || !m_sessions.Has(r.session))
        return;
    if (r.status)
        showStatus(r.session, TextOf(*r.status));
    if (r.eventLog && m_eventLog)
        m_eventLog(QString::fromStdString(*r.eventLog));
    if (r.stopSession)
        stopSession(r.session);
    if (r.disconnect)
        disconnect(r.session);
    for (int id : r.stopTimers) {
        m_timers->KillTimer(id);
        // Another session may still wait to be listed.
        if (id == kTimerAddServerRow && m_sessions.Count() > 0
            && !m_sessions.At(m_sessions.Count() - 1).record.listed)
            m_timers->SetTimer(kTimerAddServerRow, kAddRowDelayMs);
    }
    if (!r.disconnect) {
        for (const TimerStart& start : r.startTimers)
            m_timers->SetTimer(start.id, start.periodMs);
        if (r.fetchSettings)
            m_sessions.At(r.session).settingsFetchPending = true;
        // No upload is ever under way in this window, so an upload step
        // ends whatever the recorder thought was running: poll again.
        if (r.restartPollIfUploadEnded)
            m_timers->SetTimer(r.session, kPollPeriodMs);
    }
    if (r.message)
        showMessage(*r.message);
    if (r.disconnect)
        return;
    switch (r.handoff) {
    case NotifyHandoff::MasksChanged: onMasksChanged(r.session); break;
    case NotifyHandoff::SettingsReceived: onSettingsReceived(r.session); break;
    default: break;
    }
}

void LiveViewer::onTimer(int id)
{
    if (IsPollTimer(id)) {
        if (m_sessions.Has(id))
            m_sessions.At(id).session.SessionPoll();
        if (id == 0)
            m_video->RequestRedraw();
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
    case TimerDuty::Bandwidth: updateBandwidth(); break;
    case TimerDuty::LiveStarted:
        for (const TimerStart& start : m_startPhase.OnStartTimer())
            m_timers->SetTimer(start.id, start.periodMs);
        break;
    case TimerDuty::RepaintVideo: onRepaintTimer(); break;
    case TimerDuty::SetUpPtz: m_startPhase.OnPtzSetUpTimer(); break;
    case TimerDuty::DrawPanes: onAlarmFlash(id); break;
    default: break;
    }
}

void LiveViewer::markAlarms(int index)
{
    auto& row = m_sessions.At(index);
    std::array<std::uint16_t, kMaxSensors> links{};
    for (std::size_t s = 0; s < kMaxSensors; ++s)
        links[s] = row.record.settings.sensor.cameraLinks[s].get();
    row.record.alarmPanes = row.record.live.callbackRegistered
        ? AlarmPanes(row.channels.sensors, links,
                     PairPanesWithCameras(row.channels.ownedPanes, row.channels.requestedVideo))
        : 0;
    std::uint16_t all = 0;
    for (int i = 0; i < m_sessions.Count(); ++i)
        all |= m_sessions.At(i).record.alarmPanes;
    {
        std::lock_guard guard(m_overlay.lock);
        m_overlay.alarmMask = all;
    }
    if (const auto start = m_alarm.OnAlarmPanes(row.record.alarmPanes)) {
        m_videoState.alarmDisplayActive = true;
        m_timers->SetTimer(start->id, start->periodMs);
    }
}

std::uint16_t LiveViewer::AlarmedPanes() const
{
    std::lock_guard guard(m_overlay.lock);
    return m_overlay.alarmMask;
}

void LiveViewer::onAlarmFlash(int id)
{
    const auto flash = m_alarm.OnTimer(id);
    if (!flash)
        return;
    m_video->InstallOverlayFor(flash->alarmFrames);
    m_video->RequestRedraw();
    m_timers->SetTimer(flash->next.id, flash->next.periodMs);
}

void LiveViewer::StopAlarmDisplay()
{
    for (int id : m_alarm.Stop())
        m_timers->KillTimer(id);
}

void LiveViewer::onRepaintTimer()
{
    const auto tick = m_startPhase.OnRepaintTimer();
    if (tick.repaint)
        m_video->RequestRedraw();
    if (tick.stop)
        m_timers->KillTimer(kTimerRepaintUntilPtz);
}

void LiveViewer::fetchPendingSettings()
{
    for (int i = 0; i < m_sessions.Count(); ++i) {
        auto& row = m_sessions.At(i);
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
    for (int i = m_serverList->RowCount(); i < m_sessions.Count(); ++i) {
        auto& row = m_sessions.At(i);
        m_serverList->InsertRow(i, row.descriptor);
        row.record.listed = true;
        showStatus(i, TextOf(LangText::Id(kStrServerListed)));
        last = i;
    }
    if (last < 0)
        return;
    SelectSession(last);
    m_serverList->Focus();
    updateSessionButtons();
    m_timers->SetTimer(kTimerBandwidth, kPollPeriodMs);
    m_info->SetByteCountSource([this] { return m_lastSecondBytes; });
    emit currentSessionChanged();
}

void LiveViewer::updateBandwidth()
{
    std::uint64_t bytes = 0;
    for (int i = 0; i < m_sessions.Count(); ++i)
        bytes += m_sessions.At(i).record.live.TakeReceivedBytes();
    // The panel's rate timer shows the last second's count.
    m_lastSecondBytes = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(bytes, std::numeric_limits<std::uint32_t>::max()));
}

int LiveViewer::dvrType(int index) const
{
    return DvrTypeCode(m_sessions.At(index).record.settings);
}

void LiveViewer::onSettingsReceived(int index)
{
    auto& row = m_sessions.At(index);
    row.record.settings = row.session.GetReceivedDVRInfo();
    row.record.hasSettings = true;
    row.record.live.dvrType = static_cast<std::uint8_t>(dvrType(index));
    syncVideoState();
    if (index == m_current)
        refreshServerTexts();
    // Masks that came first could not be read without the model.
    if (row.record.masksPending)
        onMasksChanged(index);
}

void LiveViewer::onMasksChanged(int index)
{
    auto& row = m_sessions.At(index);
    if (!row.record.hasSettings) {
        row.record.masksPending = true;
        return;
    }
    if (SetupMode()) {
        // The setup pages edit the block the recorder holds now.
        row.record.settings = row.session.GetReceivedDVRInfo();
        return;
    }
    row.record.masksPending = false;
    ApplyMasksChanged(row.panel, row.channels, dvrType(index), row.session.GetVideoChannelMask(),
                      row.session.GetAudioChannelMask(), row.session.GetSensorStatusMask());
    startLive(index);
    markAlarms(index);
    row.panel.sliderEnabled = true;
    if (index == m_current)
        showCurrentPanel();
}

void LiveViewer::startLive(int index)
{
    auto& row = m_sessions.At(index);
    const int type = dvrType(index);
    m_timers->KillTimer(kTimerRepaintUntilPtz);
    const LiveStartDecision decision =
        DecideLiveStart(row.panel, row.channels, type, m_sessions.LiveChannelsExcept(index));
    if (index == m_current)
        showCurrentPanel();
    if (decision.refused) {
        showMessage({LangText::Id(kStrTooManyChannels), MessageIcon::Information});
        return;
    }
    LiveChannelRequest request;
    request.checkedButtons = decision.requested;
    request.dvrType = type;
    request.perCameraStreams = row.record.settings.recordSet.resolution[0] != 0;
    StartLiveChannels(m_decoder, row.record.live, &row.session, m_occupiedPanes, request);
    row.channels.requestedVideo = row.record.live.requestedVideo;
    row.channels.ownedPanes = row.record.live.ownedPanes;
    row.session.LiveMediaControl(row.channels.requestedVideo, row.channels.requestedAudio);

    const auto pairs = PairPanesWithCameras(row.channels.ownedPanes, row.channels.requestedVideo);
    for (const PaneCamera& pair : pairs)
        m_overlay.SetTitles(pair.pane, row.descriptor.name, pair.camera, CameraName(row.record.settings, pair.camera));
    if (index == m_current) {
        m_videoState.pairedRecorder = IsPairedDvrType(type) && !request.perCameraStreams;
        m_videoState.perCameraStreams = request.perCameraStreams;
    }
    syncVideoState();
    m_video->RecordLivePanes(index, pairs, m_occupiedPanes);
    // Titles and frames are drawn by the overlay for the recorder kind now live.
    m_video->InstallOverlayFor(false);
    m_layoutPanel->ApplyLiveStartLayout();
}

void LiveViewer::stopLive(int index)
{
    auto& row = m_sessions.At(index);
    const LiveStop stop = StopLive(row.panel, row.channels, dvrType(index), row.session.GetVideoChannelMask(),
                                   row.session.GetAudioChannelMask());
    StopLiveChannels(row.record.live, &row.session, m_occupiedPanes);
    m_occupiedPanes &= static_cast<std::uint16_t>(~stop.releasedPanes);
    row.session.LiveMediaControl(0, 0);
    row.record.live.SetAudioEnabled(false);
    for (int pane = 0; pane < ChannelPanel::kChannels; ++pane)
        if ((stop.releasedPanes >> pane) & 1u)
            m_decoder.ClearChannel(pane);
    showStatus(index, TextOf(stop.status));
    markAlarms(index);
    syncVideoState();
    if (index == m_current)
        showCurrentPanel();
    m_video->RequestRedraw();
}

void LiveViewer::StartLiveCurrent()
{
    if (m_sessions.Has(m_current) && m_sessions.At(m_current).record.hasSettings)
        startLive(m_current);
}

void LiveViewer::StopLiveCurrent()
{
    if (m_sessions.Has(m_current))
        stopLive(m_current);
}

void LiveViewer::stopSession(int index)
{
    m_sessions.At(index).session.Destroy();
    m_timers->KillTimer(index);
}

void LiveViewer::DisconnectCurrent()
{
    if (m_sessions.Has(m_current))
        disconnect(m_current);
}

void LiveViewer::disconnect(int index)
{
    auto& leaving = m_sessions.At(index);
    m_timers->KillTimer(kTimerRepaintUntilPtz);
    if (leaving.record.live.callbackRegistered) {
        stopLive(index);
        QThread::msleep(kRestartPauseMs);
    }
    leaving.session.Destroy();
    leaving.session.SessionClose();
    m_timers->KillTimer(index);
    const bool listed = leaving.record.listed;
    auto removal = m_sessions.Remove(index);
    m_info->RemoveSlot(index);
    removal.row->record.live.ReleaseSlot();
    if (listed)
        m_serverList->RemoveRow(index);

    for (int moved : removal.plan.rearmPollTimers) {
        if (m_sessions.At(moved).record.hasSettings)
            m_timers->SetTimer(moved, kPollPeriodMs);
        else
            m_timers->KillTimer(moved);
    }
    m_timers->KillTimer(removal.plan.stopPollTimer);
    m_occupiedPanes = 0;
    for (int pane = 0; pane < ChannelPanel::kChannels; ++pane)
        m_decoder.ClearChannel(pane);
    m_current = m_sessions.Count() - 1;
    ShowStatus(TextOf(LangText::Id(kStrSessionClosed)));

    // Every remaining session that showed video shows it again, packed into
    // the lowest panes.
    for (int i = 0; i < m_sessions.Count(); ++i) {
        auto& row = m_sessions.At(i);
        if (!row.record.hasSettings)
            continue;
        SetButtonsFromMasks(row.panel, dvrType(i), row.channels.availableVideo, row.channels.availableAudio);
        if (row.record.live.callbackRegistered) {
            m_current = i;
            startLive(i);
            markAlarms(i);
        }
    }
    m_current = m_sessions.Count() - 1;
    if (m_sessions.Has(m_current) && m_sessions.At(m_current).record.listed)
        m_serverList->Select(m_current);
    updateSessionButtons();
    syncVideoState();
    showCurrentPanel();
    refreshMessages();
    emit currentSessionChanged();
}

void LiveViewer::SelectSession(int index)
{
    if (!m_sessions.Has(index))
        return;
    if (index != m_current && m_sessions.Has(m_current)) {
        auto& left = m_sessions.At(m_current);
        const MediaRequest request = LeaveSession(left.channels);
        left.record.live.SetAudioEnabled(false);
        if (left.record.live.callbackRegistered)
            left.session.LiveMediaControl(request.video, request.audio);
    }
    m_current = index;
    m_serverList->Select(index);
    syncVideoState();
    showCurrentPanel();
    refreshMessages();
    emit currentSessionChanged();
}

void LiveViewer::CloseAllSessions()
{
    for (int i = 0; i < m_sessions.Count(); ++i) {
        auto& row = m_sessions.At(i);
        if (row.record.live.callbackRegistered) {
            row.session.SetPacketLiveMediaCallback(nullptr, nullptr);
            row.record.live.callbackRegistered = false;
            row.session.LiveMediaControl(0, 0);
        }
        row.session.Destroy();
        m_timers->KillTimer(i);
        row.session.SessionClose();
    }
    for (int id : {kTimerFetchSettings, kTimerLiveStarted, kTimerAddServerRow, kTimerBandwidth, kTimerPaneDraw1,
                   kTimerPaneDraw2, kTimerRepaintUntilPtz, kTimerPtzSetUp})
        m_timers->KillTimer(id);
}

bool LiveViewer::CurrentLive() const
{
    return m_sessions.Has(m_current) && m_sessions.At(m_current).record.live.callbackRegistered;
}

bool LiveViewer::CurrentMayOpenSetup() const
{
    return m_sessions.Has(m_current) && m_sessions.At(m_current).record.listed
        && SetupButtonEnabled(m_sessions.At(m_current).record.adminFlag);
}

std::string LiveViewer::CurrentAdminPassword() const
{
    if (!m_sessions.Has(m_current))
        return {};
    const auto& system = m_sessions.At(m_current).record.settings.system;
    return std::string(system.adminPassword, strnlen(system.adminPassword, sizeof system.adminPassword - 1));
}

void LiveViewer::SetCurrentServerType(const QString& typeText)
{
    if (!m_sessions.Has(m_current))
        return;
    m_sessions.At(m_current).record.typeText = typeText;
    refreshServerTexts();
}

void LiveViewer::PaneSelected(int, int, int, int width, int height)
{
    m_info->SetResolution(QString("%1 * %2").arg(width).arg(height));
}

bool LiveViewer::AnyListedSessionLive() const
{
    for (int i = 0; i < m_sessions.Count(); ++i)
        if (m_sessions.At(i).record.listed && m_sessions.At(i).record.live.callbackRegistered)
            return true;
    return false;
}

void LiveViewer::FullScreenChanged(bool on)
{
    m_serverList->SetVisible(!on);
    m_buttons->SetSliderVisible(!on);
    emit fullScreenChanged(on);
}

void LiveViewer::ShowStatus(const QString& text)
{
    if (m_sessions.Has(m_current))
        showStatus(m_current, text);
    else {
        m_windowLines.append(text);
        m_info->AddMessage(0, text);
    }
}

void LiveViewer::showStatus(int index, const QString& text)
{
    m_sessions.At(index).record.statusLines.append(text);
    m_info->AddMessage(index, text);
}

QStringList LiveViewer::VisibleStatusLines() const
{
    return m_sessions.Has(m_current) ? m_sessions.At(m_current).record.statusLines : m_windowLines;
}

void LiveViewer::refreshMessages()
{
    m_info->SetCurrentSlot(std::max(m_current, 0));
    refreshServerTexts();
}

void LiveViewer::refreshServerTexts()
{
    if (!m_sessions.Has(m_current)) {
        m_info->SetServerTexts({}, {}, {}, {});
        return;
    }
    const auto& row = m_sessions.At(m_current);
    QString type = row.record.typeText;
    if (type.isEmpty() && row.record.hasSettings)
        if (const DvrModelInfo* model = FindDvrModel(dvrType(m_current)))
            type = model->name;
    // The viewer asks every recorder for H.264 in its stream map.
    const QString encoder = row.record.hasSettings ? QStringLiteral("H.264") : QString();
    m_info->SetServerTexts(QString::fromStdString(row.descriptor.name), QString::fromStdString(row.descriptor.address),
                           type, encoder);
}

void LiveViewer::showCurrentPanel()
{
    m_buttons->Show(m_sessions.Has(m_current) ? m_sessions.At(m_current).panel : ChannelPanel{});
}

void LiveViewer::syncVideoState()
{
    m_videoState.connected = m_serverList->RowCount() > 0;
    m_videoState.occupiedPanes = m_occupiedPanes;
    const bool any = m_sessions.Has(m_current);
    m_videoState.sessionEstablished = any && m_sessions.At(m_current).record.hasSettings;
    m_videoState.currentOwnedPanes = any ? m_sessions.At(m_current).record.live.ownedPanes : 0;
}

void LiveViewer::updateSessionButtons()
{
    const bool any = m_serverList->RowCount() > 0;
    m_disconnect->setEnabled(any);
    m_liveOn->setEnabled(any);
    m_liveOff->setEnabled(any);
}

void LiveViewer::onVideoPressed(int channel)
{
    if (!m_sessions.Has(m_current))
        return;
    auto& row = m_sessions.At(m_current);
    m_buttons->Read(row.panel);
    PressVideoButton(row.panel, row.channels, channel);
    showCurrentPanel();
}

void LiveViewer::onAudioPressed(int channel)
{
    if (!m_sessions.Has(m_current))
        return;
    auto& row = m_sessions.At(m_current);
    m_buttons->Read(row.panel);
    const auto change = PressAudioButton(row.panel, row.channels, channel);
    showCurrentPanel();
    if (change)
        applyAudio(row, *change);
}

void LiveViewer::onMutePressed()
{
    if (!m_sessions.Has(m_current)) {
        showCurrentPanel();
        return;
    }
    auto& row = m_sessions.At(m_current);
    m_buttons->Read(row.panel);
    const auto change = PressMute(row.panel, row.channels, row.record.listed, row.record.live.callbackRegistered);
    showCurrentPanel();
    if (change)
        applyAudio(row, *change);
}

void LiveViewer::onSliderReleased(int position)
{
    if (!m_sessions.Has(m_current))
        return;
    auto& row = m_sessions.At(m_current);
    m_decoder.SetVolume(ReleaseSlider(row.panel, row.channels, position));
}

void LiveViewer::applyAudio(ViewerSessionTable::Row& row, const AudioChange& change)
{
    m_decoder.SetVolume(0);
    if (change.selectChannel)
        m_decoder.SelectAudio(*change.selectChannel);
    m_decoder.SetVolume(change.decoderVolume);
    if (change.requestMedia)
        row.session.LiveMediaControl(row.channels.requestedVideo, row.channels.requestedAudio);
    row.record.live.SetAudioEnabled(change.audioOn);
    m_decoder.SetAudioOn(change.audioOn);
}

void LiveViewer::showMessage(const MessageRequest& message)
{
    DvrMessageBox(m_window, TextOf(message.text), "DVR", BoxIcon(message.icon));
}
