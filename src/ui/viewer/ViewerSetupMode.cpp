#include "ui/viewer/ViewerSetupMode.h"

#include "core/dvr/SettingsBlock.h"
#include "core/setup/SetupSectionCopies.h"
#include "core/viewer/LiveControl.h"
#include "core/viewer/ViewerTimers.h"
#include "ui/app/WindowTimers.h"
#include "ui/controls/CtrlId.h"
#include "ui/setup/CSetupCamera.h"
#include "ui/setup/CSetupDVRSetup.h"
#include "ui/video/CChannelPosDlg.h"
#include "ui/video/CRenderWnd.h"
#include "ui/video/VideoWindowState.h"
#include "ui/viewer/ChannelAudioControl.h"
#include "ui/viewer/LiveVideoSwitch.h"
#include "ui/viewer/ServerListView.h"
#include "ui/viewer/ViewerSessions.h"

#include <QPushButton>

namespace {

constexpr int kFirstLayoutButton = 4001;
constexpr int kLastLayoutButton = 4006;

} // namespace

ViewerSetupMode::ViewerSetupMode(Parts parts)
    : m_parts(parts)
    , m_host(new CSetupDVRSetup(*this, parts.window))
{
    // Over the video pane.
    m_host->move(CRenderWnd::kWindowedGeometry.topLeft());
}

ViewerSetupMode::~ViewerSetupMode()
{
    // Its pages ask this object for everything.
    delete m_host;
}

bool ViewerSetupMode::Open()
{
    ViewerSessions& sessions = m_parts.sessions;
    if (!sessions.HasCurrent() || !sessions.Current().record.hasSettings)
        return false;
    m_parts.state.setupMode = true;
    m_host->Open(sessions.Current().record.settings);
    return true;
}

bool ViewerSetupMode::IsOpen() const
{
    return !m_host->isHidden();
}

void ViewerSetupMode::MasksChanged(int index)
{
    if (index == m_parts.sessions.current && IsOpen())
        m_host->Redistribute(m_parts.sessions.table.At(index).record.settings);
}

void ViewerSetupMode::OnSetupClosed()
{
    m_parts.video.RestoreAfterSetup(m_parts.window, m_videoLent);
    m_videoLent = false;
    setWindowControls(true);
    startCurrentLive();
}

void ViewerSetupMode::OnPreviewClick(unsigned message, int x, int y)
{
    if (message != kMsgSetupClick && message != kMsgSetupClickPaired)
        return;
    // Marking works the same on a paired recorder's preview.
    if (IsOpen() && m_host->IsPageActive(CSetupDVRSetup::kCamera))
        static_cast<CSetupCamera*>(m_host->PageAt(CSetupDVRSetup::kCamera))->PreviewClicked(x, y);
}

void ViewerSetupMode::startCurrentLive()
{
    ViewerSessions& sessions = m_parts.sessions;
    if (!sessions.HasCurrent() || !sessions.Current().record.hasSettings)
        return;
    auto& row = sessions.Current();
    SetButtonsFromMasks(row.panel, ::DvrTypeCode(row.record.settings), row.channels.availableVideo,
                        row.channels.availableAudio);
    m_parts.live.Start(sessions.current);
    m_parts.controls.ShowCurrentPanel();
}

void ViewerSetupMode::SessionLeaving(int index)
{
    ViewerSessions& sessions = m_parts.sessions;
    if (!sessions.table.Has(index))
        return;
    if (m_upload.RunningOn(sessions.table.At(index).session.SessionId()))
        m_upload.Abandon();
    if (index == sessions.current && IsOpen())
        m_host->Exit();
}

void ViewerSetupMode::OnUploadNotify(unsigned sessionId, int code)
{
    const auto index = m_parts.sessions.table.FindBySessionId(sessionId);
    if (!index)
        return;
    UploadListener* listener = m_upload.Listener();
    const FileUploadDriver::End end = m_upload.OnNotify(m_parts.sessions.table.At(*index).session, code);
    if (end == FileUploadDriver::End::None)
        return;
    // Polling resumes before the page tells the operator: its message box
    // waits for a click, and an unpolled recorder would drop the session.
    m_parts.timers.SetTimer(*index, kPollPeriodMs);
    if (listener)
        listener->UploadEnded(end == FileUploadDriver::End::Succeeded);
}

bool ViewerSetupMode::WriteSection(SetupSectionCopies& copies, std::uint8_t section)
{
    ViewerSessions& sessions = m_parts.sessions;
    if (!sessions.HasCurrent() || !sessions.Current().record.hasSettings)
        return false;
    auto& row = sessions.Current();
    return WriteSettingsSection(row.record.settings, copies, section, [&row](void* data, std::uint8_t number) {
        return row.session.SetDVRInfo(data, number);
    });
}

std::uint8_t ViewerSetupMode::DvrTypeCode() const
{
    const ViewerSessions& sessions = m_parts.sessions;
    return sessions.HasCurrent() ? ::DvrTypeCode(sessions.Current().record.settings) : 0;
}

void ViewerSetupMode::PreparePage()
{
    ViewerSessions& sessions = m_parts.sessions;
    if (sessions.HasCurrent()) {
        auto& row = sessions.Current();
        if (row.record.live.callbackRegistered)
            m_parts.live.Stop(sessions.current);
        // Nothing is live while a page shows; Exit sets the buttons from the masks again.
        for (int k = 0; k < ChannelPanel::kChannels; ++k)
            row.panel.video[k] = row.panel.audio[k] = ToggleButton{};
        m_parts.controls.ShowCurrentPanel();
    }
    m_videoLent = false;
    setWindowControls(false);
}

QWidget* ViewerSetupMode::LendVideoWindow(QWidget* page, const QRect& place)
{
    m_parts.video.LendAsPreview(page, place);
    m_videoLent = true;
    return &m_parts.video;
}

void ViewerSetupMode::ShowPreviewChannel(int channel, MP4MUL_RenderCallback draw, void* context)
{
    m_parts.video.ShowPreviewChannel(channel, draw, context);
}

void ViewerSetupMode::StartPreviewVideo()
{
    startCurrentLive();
    // Live start turns the layout buttons back on; they stay off while the setup is open.
    setWindowControls(false);
}

void ViewerSetupMode::SetupClosed()
{
    PostWindowMessage(m_parts.handle, kMsgSetupClosed, 0, 0);
}

bool ViewerSetupMode::StartUpload(const QString& path, UploadListener* listener, QString* reason)
{
    ViewerSessions& sessions = m_parts.sessions;
    if (!sessions.HasCurrent()) {
        *reason = QString("Cannot upload %1 !").arg(path);
        return false;
    }
    if (!m_upload.Start(sessions.Current().session, path, listener, reason))
        return false;
    // The transfer keeps the session busy; polling resumes when it ends.
    m_parts.timers.KillTimer(sessions.current);
    return true;
}

void ViewerSetupMode::setWindowControls(bool enabled)
{
    for (int id = kFirstLayoutButton; id <= kLastLayoutButton; ++id)
        if (QPushButton* button = m_parts.layoutPanel.Button(id)) {
            button->setEnabled(enabled);
            button->setChecked(false);
        }
    // The setup edits the current recorder: the current row stays while it is open.
    if (QWidget* list = FindCtrl(m_parts.window, ServerListView::kCtrlId))
        list->setEnabled(enabled);
}
