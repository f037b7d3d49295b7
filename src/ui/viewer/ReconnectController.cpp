#include "ui/viewer/ReconnectController.h"

#include "core/config/RegConfig.h"
#include "core/dvr/NotifyCodes.h"
#include "core/servers/ServerRecord.h"
#include "core/viewer/ConnectRequest.h"
#include "platform/decoder/LiveDecoder.h"
#include "ui/video/CRenderWnd.h"
#include "ui/viewer/ViewerSessions.h"
#include "ui/viewer/ViewerStatusPanel.h"
#include "ui/viewer/ViewerVideo.h"

#include <bit>
#include <utility>

namespace {

using Clock = SessionReconnect::Clock;

std::string WaitingText(int seconds)
{
    return "Reconnecting in " + std::to_string(seconds) + " s";
}

bool ReconnectSetting(const std::string& serverName)
{
    CRegConfig reg;
    const auto record = ServerDirectory(reg).Find(serverName);
    return !record || record->reconnect;
}

} // namespace

ReconnectController::ReconnectController(ViewerSessions& sessions, ViewerVideo& video, ViewerStatusPanel& status,
                                         HWND notifyWindow, QObject* parent)
    : QObject(parent)
    , m_sessions(sessions)
    , m_video(video)
    , m_status(status)
    , m_notifyWindow(notifyWindow)
{
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &ReconnectController::tick);
    m_timer.start();
}

void ReconnectController::Remember(int index, const std::string& serverName, Target target)
{
    if (!m_sessions.table.Has(index))
        return;
    const unsigned id = m_sessions.table.At(index).session.SessionId();
    m_entries.erase(id);
    m_entries.emplace(id, Entry{std::move(target), SessionReconnect(ReconnectSetting(serverName)), {}, {}, {}, 0});
}

const ReconnectController::Entry* ReconnectController::find(int index) const
{
    if (!m_sessions.table.Has(index))
        return nullptr;
    const auto it = m_entries.find(m_sessions.table.At(index).session.SessionId());
    return it == m_entries.end() ? nullptr : &it->second;
}

ReconnectController::Entry* ReconnectController::find(int index)
{
    return const_cast<Entry*>(std::as_const(*this).find(index));
}

std::optional<ReconnectController::Target> ReconnectController::TargetOf(int index) const
{
    const Entry* entry = find(index);
    return entry ? std::optional<Target>(entry->target) : std::nullopt;
}

const SessionReconnect* ReconnectController::StateOf(int index) const
{
    const Entry* entry = find(index);
    return entry ? &entry->state : nullptr;
}

NotifyReaction ReconnectController::Adjust(std::optional<int> index, int code, NotifyReaction reaction)
{
    Entry* entry = index ? find(*index) : nullptr;
    if (!entry)
        return reaction;
    const auto before = entry->state.State();
    if (before == SessionReconnect::Phase::Up) {
        // The choice to come back to, before anything of it is given up.
        const auto& row = m_sessions.table.At(*index);
        entry->panel = row.panel;
        entry->channels = row.channels;
    }
    NotifyReaction adjusted = entry->state.OnNotify(code, std::move(reaction), Clock::now());
    if (entry->state.State() == SessionReconnect::Phase::Waiting && before != SessionReconnect::Phase::Waiting)
        pauseStarted(*index, *entry);
    return adjusted;
}

void ReconnectController::pauseStarted(int index, Entry& entry)
{
    const int seconds = entry.state.SecondsLeft(Clock::now());
    m_status.ShowFor(index, QString::fromStdString(WaitingText(seconds)));
    showNotice(index, entry, WaitingText(seconds));
}

void ReconnectController::tick()
{
    const auto now = Clock::now();
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        const auto index = m_sessions.table.FindBySessionId(it->first);
        if (!index) {
            // Closed by the operator: nothing more to try, nothing more to say
            // on panes that other sessions take over.
            clearNotice(it->second);
            it = m_entries.erase(it);
            continue;
        }
        Entry& entry = it->second;
        if (entry.state.TakeDue(now))
            attempt(*index, entry);
        else if (entry.state.State() == SessionReconnect::Phase::Waiting)
            showNotice(*index, entry, WaitingText(entry.state.SecondsLeft(now)));
        else if (entry.state.State() == SessionReconnect::Phase::Up && !entry.state.RestorePending())
            showNotice(*index, entry, {});  // refused for good, or back
        ++it;
    }
}

void ReconnectController::attempt(int index, Entry& entry)
{
    auto& row = m_sessions.table.At(index);
    showNotice(index, entry, "Reconnecting");
    QByteArray host = entry.target.address.toLocal8Bit();
    const std::uint16_t port = ParsePortText(entry.target.port.toStdString());
    if (!row.session.Create(host.data(), static_cast<short>(port), IsTcpProtocol(entry.target.protocol.toStdString()),
                            kMsgNetworkNotify, m_notifyWindow, 0)) {
        entry.state.AttemptFailed(Clock::now());
        pauseStarted(index, entry);
        return;
    }
    QByteArray user = entry.target.account.toLocal8Bit();
    QByteArray secret = entry.target.password.toLocal8Bit();
    row.session.SessionOpen(user.data(), secret.data());
}

bool ReconnectController::RestoreChoices(int index)
{
    Entry* entry = find(index);
    if (!entry || !entry->state.RestorePending())
        return false;
    entry->state.Restored();
    auto& row = m_sessions.table.At(index);
    for (int k = 0; k < ChannelPanel::kChannels; ++k) {
        row.panel.video[k].checked = entry->panel.video[k].checked && row.panel.video[k].enabled;
        row.panel.audio[k].checked = entry->panel.audio[k].checked && row.panel.audio[k].enabled;
    }
    row.panel.muteChecked = entry->panel.muteChecked;
    row.panel.sliderPosition = entry->panel.sliderPosition;
    row.channels.requestedAudio = entry->channels.requestedAudio & row.channels.availableAudio;
    row.channels.volume = entry->channels.volume;
    row.channels.audioOn = entry->channels.audioOn && row.channels.requestedAudio != 0;
    // The new connection has no live callback yet: the live start registers it.
    row.record.live.callbackRegistered = false;
    if (index == m_sessions.current && row.channels.audioOn) {
        m_video.decoder.SetVolume(0);
        m_video.decoder.SelectAudio(std::countr_zero(row.channels.requestedAudio));
        m_video.decoder.SetVolume(row.channels.volume);
        m_video.decoder.SetAudioOn(true);
    }
    row.record.live.SetAudioEnabled(row.channels.audioOn && index == m_sessions.current);
    showNotice(index, *entry, {});
    return true;
}

void ReconnectController::clearNotice(Entry& entry)
{
    {
        std::lock_guard guard(m_video.overlay.lock);
        for (int pane = 0; pane < ChannelPanel::kChannels; ++pane)
            if ((entry.noticePanes >> pane) & 1u)
                m_video.overlay.sessionNotice[pane].clear();
    }
    entry.notice.clear();
    entry.noticePanes = 0;
    if (m_video.window)
        m_video.window->update();
}

void ReconnectController::showNotice(int index, Entry& entry, std::string text)
{
    // The session's panes move when another session closes.
    const std::uint16_t panes = text.empty() ? 0 : m_sessions.table.At(index).record.live.ownedPanes;
    if (text == entry.notice && panes == entry.noticePanes)
        return;
    entry.notice = std::move(text);
    {
        std::lock_guard guard(m_video.overlay.lock);
        for (int pane = 0; pane < ChannelPanel::kChannels; ++pane) {
            if ((panes >> pane) & 1u)
                m_video.overlay.sessionNotice[pane] = entry.notice;
            else if ((entry.noticePanes >> pane) & 1u)
                m_video.overlay.sessionNotice[pane].clear();
        }
    }
    entry.noticePanes = panes;
    if (m_video.window)
        m_video.window->update();
}
