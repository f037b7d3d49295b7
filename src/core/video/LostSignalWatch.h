#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <optional>

// Which live panes have lost their signal: a pane whose channel has shown no
// new picture for two seconds. The caller samples each channel's picture count
// (any change is a new picture) with the time of the sample; nothing here
// reads a clock.
class LostSignalWatch {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kPanes = 16;
    static constexpr Clock::duration kNoSignalAfter = std::chrono::seconds(2);

    // The panes that show live video now. A pane that joins is given the full
    // two seconds from `now` before it can be without signal; a pane that
    // leaves is forgotten.
    void Watch(std::uint16_t livePanes, Clock::time_point now);
    // The channel's picture count as the decoder reports it at `now`
    // (`wallNow` is the same moment as calendar time, for the caption).
    void Sample(int pane, std::uint64_t pictures, Clock::time_point now, std::time_t wallNow);

    std::uint16_t Watched() const { return m_watched; }
    // Watched panes without a new picture for kNoSignalAfter at `now`.
    std::uint16_t StalePanes(Clock::time_point now) const;
    // When the pane's last picture arrived; empty when none has since it was watched.
    std::optional<std::time_t> LastPictureTime(int pane) const;

private:
    struct Pane {
        std::optional<std::uint64_t> pictures;  // the count last sampled
        Clock::time_point since{};              // last new picture, or when watching began
        std::optional<std::time_t> lastPicture;
    };

    std::uint16_t m_watched = 0;
    std::array<Pane, kPanes> m_panes{};
};
