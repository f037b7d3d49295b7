#pragma once

#include <cstdint>

// One session's live channel and audio state. Masks: bit k = channel k+1.
struct SessionChannels {
    std::uint16_t availableVideo = 0;
    std::uint16_t availableAudio = 0;
    std::uint16_t sensors = 0;
    std::uint16_t requestedVideo = 0;
    std::uint16_t requestedAudio = 0;  // 0 or one bit
    std::uint16_t ownedPanes = 0;      // bit p = pane p+1
    int liveCount = 0;                 // channels this session shows
    int volume = 0;                    // 0..100
    bool audioOn = false;
    bool pairedMode = false;           // live runs on a paired model: channels 1-4 go in pairs
    bool operator==(const SessionChannels&) const = default;
};
