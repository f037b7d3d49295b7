#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

// When each unit of a program-stream file is handed to the decoder. Units with
// a time stamp start pictures: they follow their stamps from the first one,
// never closer than a minimum gap, so the decoder is not handed a burst it
// would shed (it drops queued pictures up to the next keyframe when it falls
// behind). Units without a stamp continue the picture before them.
class PlaybackPacer {
public:
    // A stamp more than this ahead of or behind the previous picture is a
    // discontinuity: playback goes on from it after the minimum gap.
    static constexpr std::chrono::milliseconds kMaxJump{2000};

    explicit PlaybackPacer(std::chrono::milliseconds minGap) : m_minGap(minGap) {}

    // The time after the start of playback when the next unit is due; called
    // once per unit, in file order. pts: 33-bit, 90 kHz.
    std::chrono::milliseconds Schedule(std::optional<std::uint64_t> pts);

private:
    std::chrono::milliseconds m_minGap;
    std::optional<std::uint64_t> m_anchorPts;    // stamp that plays at m_anchorTime
    std::chrono::milliseconds m_anchorTime{0};
    std::optional<std::chrono::milliseconds> m_lastPicture;
};
