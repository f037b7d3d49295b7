#pragma once

#include "platform/decoder/MPEG4MultiDecoder.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace benchsupport {

// Installed as the decoder's paint observer: when each picture, known by its
// channel and PTS, was first painted, and when each channel's first picture
// was. Painting happens on the window's thread, and so do the questions.
class PaintTimes : public PaintObserver {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kChannels = 16;

    void Painted(int channel, int64_t pts) override;

    std::optional<Clock::time_point> FirstPaint(int channel, int64_t pts) const;
    int ChannelsShowing() const;
    // The first painted picture of any channel, and the moment the last
    // channel to show one did; nullopt until then.
    std::optional<Clock::time_point> FirstOfAnyChannel() const;
    std::optional<Clock::time_point> FirstOfEveryChannel() const;

private:
    std::unordered_map<uint64_t, Clock::time_point> m_pictures;  // by channel << 40 | PTS
    std::array<std::optional<Clock::time_point>, kChannels> m_firstByChannel;
};

} // namespace benchsupport
