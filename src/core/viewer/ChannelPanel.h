#pragma once

#include <array>

// The state of the controls below the video pane: 16 channel buttons (5000+k),
// 16 audio buttons (5100+k), the mute box (1201), the volume slider (3500) and
// the one control the paired models cannot use.
struct ToggleButton {
    bool enabled = false;
    bool checked = false;
    bool operator==(const ToggleButton&) const = default;
};

struct ChannelPanel {
    static constexpr int kChannels = 16;
    static constexpr int kSliderMax = 100;  // top = position 0 = loudest

    std::array<ToggleButton, kChannels> video{};
    std::array<ToggleButton, kChannels> audio{};
    bool muteChecked = false;
    int sliderPosition = kSliderMax;
    bool sliderEnabled = false;
    bool pairedModelControlEnabled = true;
    bool operator==(const ChannelPanel&) const = default;
};
