#include "ui/viewer/LiveVideoSwitch.h"

#include "core/dvr/SettingsBlock.h"
#include "core/video/ChannelAssignment.h"
#include "core/viewer/LiveControl.h"
#include "core/viewer/ViewerTimers.h"
#include "platform/video/LiveChannels.h"
#include "ui/app/WindowTimers.h"
#include "ui/video/CChannelPosDlg.h"
#include "ui/video/CRenderWnd.h"
#include "ui/viewer/AlarmFlasher.h"
#include "ui/viewer/ChannelAudioControl.h"
#include "ui/viewer/ViewerSessions.h"
#include "ui/viewer/ViewerStatusPanel.h"
#include "ui/viewer/ViewerText.h"
#include "ui/viewer/ViewerVideo.h"

LiveVideoSwitch::LiveVideoSwitch(Parts parts)
    : m_parts(std::move(parts))
{
}

void LiveVideoSwitch::Start(int index)
{
    start(index, false);
}

void LiveVideoSwitch::Restore(int index)
{
    start(index, true);
}

void LiveVideoSwitch::start(int index, bool restoring)
{
    ViewerSessions& sessions = m_parts.sessions;
    ViewerVideo& video = m_parts.video;
    auto& row = sessions.table.At(index);
    const int type = DvrTypeCode(row.record.settings);
    m_parts.timers.KillTimer(kTimerRepaintUntilPtz);
    const LiveStartDecision decision =
        DecideLiveStart(row.panel, row.channels, type, sessions.table.LiveChannelsExcept(index));
    if (index == sessions.current)
        m_parts.controls.ShowCurrentPanel();
    if (decision.refused) {
        m_parts.showMessage({LangText::Id(kStrTooManyChannels), MessageIcon::Information});
        return;
    }
    LiveChannelRequest request;
    request.checkedButtons = decision.requested;
    request.dvrType = type;
    request.perCameraStreams = row.record.settings.recordSet.resolution[0] != 0;
    request.keepPlaces = restoring;
    StartLiveChannels(video.decoder, row.record.live, &row.session, video.occupiedPanes, request);
    row.channels.requestedVideo = row.record.live.requestedVideo;
    row.channels.ownedPanes = row.record.live.ownedPanes;
    row.session.LiveMediaControl(row.channels.requestedVideo, row.channels.requestedAudio);

    const auto pairs = PairPanesWithCameras(row.channels.ownedPanes, row.channels.requestedVideo);
    for (const PaneCamera& pair : pairs)
        video.overlay.SetTitles(pair.pane, row.descriptor.name, pair.camera,
                                CameraName(row.record.settings, pair.camera));
    if (index == sessions.current) {
        video.state.pairedRecorder = IsPairedDvrType(type) && !request.perCameraStreams;
        video.state.perCameraStreams = request.perCameraStreams;
    }
    SyncVideoState();
    video.window->RecordLivePanes(index, pairs, video.occupiedPanes);
    // Titles and frames are drawn by the overlay for the recorder kind now live.
    video.window->InstallOverlayFor(false);
    if (restoring)
        video.window->RequestRedraw();
    else
        video.layoutPanel->ApplyLiveStartLayout();
}

void LiveVideoSwitch::Stop(int index)
{
    ViewerVideo& video = m_parts.video;
    auto& row = m_parts.sessions.table.At(index);
    const LiveStop stop = StopLive(row.panel, row.channels, DvrTypeCode(row.record.settings),
                                   row.session.GetVideoChannelMask(), row.session.GetAudioChannelMask());
    StopLiveChannels(row.record.live, &row.session, video.occupiedPanes);
    video.occupiedPanes &= static_cast<std::uint16_t>(~stop.releasedPanes);
    row.session.LiveMediaControl(0, 0);
    row.record.live.SetAudioEnabled(false);
    for (int pane = 0; pane < ChannelPanel::kChannels; ++pane)
        if ((stop.releasedPanes >> pane) & 1u)
            video.decoder.ClearChannel(pane);
    m_parts.status.ShowFor(index, TextOf(stop.status));
    m_parts.alarms.Mark(index);
    SyncVideoState();
    if (index == m_parts.sessions.current)
        m_parts.controls.ShowCurrentPanel();
    video.window->RequestRedraw();
}

void LiveVideoSwitch::ReleaseAllPanes()
{
    m_parts.video.occupiedPanes = 0;
    for (int pane = 0; pane < ChannelPanel::kChannels; ++pane)
        m_parts.video.decoder.ClearChannel(pane);
}

void LiveVideoSwitch::SyncVideoState()
{
    const ViewerSessions& sessions = m_parts.sessions;
    VideoWindowState& state = m_parts.video.state;
    state.connected = sessions.AnyListed();
    state.occupiedPanes = m_parts.video.occupiedPanes;
    const bool any = sessions.HasCurrent();
    state.sessionEstablished = any && sessions.Current().record.hasSettings;
    state.currentOwnedPanes = any ? sessions.Current().record.live.ownedPanes : 0;
}
