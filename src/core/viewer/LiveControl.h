#pragma once

#include "core/viewer/ChannelPanel.h"
#include "core/viewer/LangText.h"
#include "core/viewer/SessionChannels.h"

#include <cstdint>
#include <optional>

// Which channels of a session are asked for as live video, which one channel
// is heard and how loud, over the state of the buttons below the video pane.
// Each function changes the panel and the session's state and returns what
// the window must tell the library and the decoder.

constexpr int kMaxLiveChannels = 16;
constexpr int kStrTooManyChannels = 6036;
constexpr int kStrLiveStopped = 7003;

// Keeps the masks the recorder reported. Type 5 recorders have audio on
// channel 1 only, whatever they report.
void StoreReportedMasks(SessionChannels& session, int dvrType, std::uint16_t video, std::uint16_t audio,
                        std::uint16_t sensors);

// Enables (and checks) the video buttons of available channels and enables the
// audio buttons of channels with audio. Paired models (types 1, 5) show
// channels 1 and 3, and 2 and 4 only when their partner is not checked.
// Types 4 and unknown ones leave every button as it was.
void SetButtonsFromMasks(ChannelPanel& panel, int dvrType, std::uint16_t video, std::uint16_t audio);

// New masks arrived (outside setup mode): store them and set the buttons.
// The window then starts live video with the buttons as set and enables the
// slider.
void ApplyMasksChanged(ChannelPanel& panel, SessionChannels& session, int dvrType, std::uint16_t video,
                       std::uint16_t audio, std::uint16_t sensors);

// Video button `channel` was pressed (its check state already flipped). While
// the session is in paired mode the partner of channels 1-4 follows: checked
// -> partner unchecked and disabled; unchecked -> partner enabled when the
// recorder has that channel.
void PressVideoButton(ChannelPanel& panel, const SessionChannels& session, int channel);

std::uint16_t CheckedVideoMask(const ChannelPanel& panel);

struct LiveStartDecision {
    bool refused = false;          // more than 16 channels over all sessions: message 6036
    std::uint16_t requested = 0;   // the checked channels to start
    int windowTotal = 0;           // live channels over all sessions afterwards
};

// Counts the checked channels of a start (button 209, masks changed). The
// session's earlier count is replaced, not added to, so starting again does
// not count the same channels twice. Over the limit every video button is
// unchecked, the session counts 0 and the other sessions keep theirs.
// Otherwise the session's paired mode follows its model.
LiveStartDecision DecideLiveStart(ChannelPanel& panel, SessionChannels& session, int dvrType,
                                  int otherSessionsLive);

// What the decoder and the library get after an audio change. The window
// sets decoder volume 0, selects `selectChannel` when given, sets
// `decoderVolume`, asks for media when `requestMedia`, then plays or stops
// audio as `audioOn` says.
struct AudioChange {
    std::optional<int> selectChannel;
    int decoderVolume = 0;
    bool requestMedia = false;
    bool audioOn = false;
    bool operator==(const AudioChange&) const = default;
};

// Audio button `channel` was pressed (its check state already flipped). Empty
// when mute blocked it (the button is unchecked again, nothing else changes).
std::optional<AudioChange> PressAudioButton(ChannelPanel& panel, SessionChannels& session, int channel);

// The mute box was clicked (its check state already flipped). It acts only
// with a listed session whose live video runs; otherwise it is unchecked
// again and the result is empty.
std::optional<AudioChange> PressMute(ChannelPanel& panel, SessionChannels& session, bool sessionListed,
                                     bool liveRunning);

// The slider was released at `position`: the decoder volume to set.
int ReleaseSlider(ChannelPanel& panel, SessionChannels& session, int position);

struct MediaRequest {
    std::uint16_t video = 0;
    std::uint16_t audio = 0;
    bool operator==(const MediaRequest&) const = default;
};

// Another row was selected: the session left keeps its video but is no
// longer heard. The window sends the returned request to it.
MediaRequest LeaveSession(SessionChannels& session);

struct LiveStop {
    std::uint16_t releasedPanes = 0;  // clear these from the occupied pane mask
    LangText status = LangText::Id(kStrLiveStopped);
};

// Button 231: the session gives up its panes, audio request and live count;
// the buttons are set again from the masks the library reports now. The
// window unregisters the callback and calls LiveMediaControl(0, 0).
LiveStop StopLive(ChannelPanel& panel, SessionChannels& session, int dvrType, std::uint16_t video,
                  std::uint16_t audio);
