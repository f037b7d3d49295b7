#include "core/viewer/LiveControl.h"

#include "core/video/ChannelAssignment.h"

#include <algorithm>
#include <bit>

namespace {

constexpr int kChannels = ChannelPanel::kChannels;
constexpr int kFullVolume = 100;
constexpr int kPairedChannels = 4;
constexpr int kAudioOnlyFirstChannelType = 5;

bool Bit(std::uint16_t mask, int k)
{
    return (mask >> k) & 1u;
}

std::uint16_t Only(int k)
{
    return static_cast<std::uint16_t>(1u << k);
}

bool ShowsAllChannels(int dvrType)
{
    return dvrType == 2 || dvrType == 3 || dvrType == 6;
}

void SetAudioButtons(ChannelPanel& panel, std::uint16_t audio)
{
    for (int k = 0; k < kChannels; ++k)
        panel.audio[k] = ToggleButton{Bit(audio, k), false};
}

void SetPairedVideoButtons(ChannelPanel& panel, std::uint16_t video)
{
    panel.pairedModelControlEnabled = false;
    for (ToggleButton& b : panel.video)
        b = ToggleButton{};
    for (int first : {0, 2}) {
        if (Bit(video, first))
            panel.video[first] = ToggleButton{true, true};
        if (Bit(video, first + 1) && !panel.video[first].checked)
            panel.video[first + 1] = ToggleButton{true, true};
    }
}

void SetVolume(ChannelPanel& panel, SessionChannels& session, int volume)
{
    session.volume = volume;
    panel.sliderPosition = ChannelPanel::kSliderMax - volume;
}

} // namespace

void StoreReportedMasks(SessionChannels& session, int dvrType, std::uint16_t video, std::uint16_t audio,
                        std::uint16_t sensors)
{
    session.availableVideo = video;
    session.availableAudio = dvrType == kAudioOnlyFirstChannelType ? Only(0) : audio;
    session.sensors = sensors;
}

void SetButtonsFromMasks(ChannelPanel& panel, int dvrType, std::uint16_t video, std::uint16_t audio)
{
    if (ShowsAllChannels(dvrType)) {
        for (int k = 0; k < kChannels; ++k)
            panel.video[k] = ToggleButton{Bit(video, k), Bit(video, k)};
    } else if (IsPairedDvrType(dvrType)) {
        SetPairedVideoButtons(panel, video);
    } else {
        return;
    }
    SetAudioButtons(panel, audio);
}

void ApplyMasksChanged(ChannelPanel& panel, SessionChannels& session, int dvrType, std::uint16_t video,
                       std::uint16_t audio, std::uint16_t sensors)
{
    StoreReportedMasks(session, dvrType, video, audio, sensors);
    SetButtonsFromMasks(panel, dvrType, session.availableVideo, session.availableAudio);
    panel.sliderEnabled = true;
}

void PressVideoButton(ChannelPanel& panel, const SessionChannels& session, int channel)
{
    if (!session.pairedMode || channel < 0 || channel >= kPairedChannels)
        return;
    const int partner = channel ^ 1;
    if (panel.video[channel].checked)
        panel.video[partner] = ToggleButton{};
    else
        panel.video[partner].enabled = Bit(session.availableVideo, partner);
}

std::uint16_t CheckedVideoMask(const ChannelPanel& panel)
{
    std::uint16_t mask = 0;
    for (int k = 0; k < kChannels; ++k)
        if (panel.video[k].checked)
            mask = static_cast<std::uint16_t>(mask | Only(k));
    return mask;
}

LiveStartDecision DecideLiveStart(ChannelPanel& panel, SessionChannels& session, int dvrType,
                                  int otherSessionsLive)
{
    LiveStartDecision d;
    d.requested = CheckedVideoMask(panel);
    const int count = std::popcount(d.requested);
    if (otherSessionsLive + count > kMaxLiveChannels) {
        for (ToggleButton& b : panel.video)
            b.checked = false;
        session.liveCount = 0;
        d.refused = true;
        d.requested = 0;
        d.windowTotal = otherSessionsLive;
        return d;
    }
    session.liveCount = count;
    session.pairedMode = IsPairedDvrType(dvrType);
    d.windowTotal = otherSessionsLive + count;
    return d;
}

std::optional<AudioChange> PressAudioButton(ChannelPanel& panel, SessionChannels& session, int channel)
{
    if (channel < 0 || channel >= kChannels)
        return std::nullopt;
    if (panel.muteChecked) {
        panel.audio[channel].checked = false;
        return std::nullopt;
    }
    AudioChange change;
    session.requestedAudio = 0;
    if (panel.audio[channel].checked) {
        for (int k = 0; k < kChannels; ++k)
            if (k != channel)
                panel.audio[k].checked = false;
        SetVolume(panel, session, kFullVolume);
        session.requestedAudio = Only(channel);
        change.selectChannel = channel;
        change.decoderVolume = kFullVolume;
        change.requestMedia = true;
        change.audioOn = true;
    } else {
        SetVolume(panel, session, 0);
    }
    session.audioOn = change.audioOn;
    return change;
}

std::optional<AudioChange> PressMute(ChannelPanel& panel, SessionChannels& session, bool sessionListed,
                                     bool liveRunning)
{
    if (!sessionListed || !liveRunning) {
        panel.muteChecked = false;
        return std::nullopt;
    }
    AudioChange change;
    change.audioOn = !panel.muteChecked;
    change.decoderVolume = change.audioOn ? kFullVolume : 0;
    SetVolume(panel, session, change.decoderVolume);
    session.audioOn = change.audioOn;
    return change;
}

int ReleaseSlider(ChannelPanel& panel, SessionChannels& session, int position)
{
    const int clamped = std::clamp(position, 0, ChannelPanel::kSliderMax);
    SetVolume(panel, session, ChannelPanel::kSliderMax - clamped);
    return session.volume;
}

MediaRequest LeaveSession(SessionChannels& session)
{
    session.requestedAudio = 0;
    session.audioOn = false;
    return MediaRequest{session.requestedVideo, 0};
}

LiveStop StopLive(ChannelPanel& panel, SessionChannels& session, int dvrType, std::uint16_t video,
                  std::uint16_t audio)
{
    LiveStop stop;
    stop.releasedPanes = session.ownedPanes;
    session.ownedPanes = 0;
    session.requestedVideo = 0;
    session.requestedAudio = 0;
    session.liveCount = 0;
    StoreReportedMasks(session, dvrType, video, audio, session.sensors);
    SetButtonsFromMasks(panel, dvrType, session.availableVideo, session.availableAudio);
    return stop;
}
