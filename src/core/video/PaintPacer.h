#pragma once

#include <chrono>
#include <optional>

// The video window's interval: a display refresh at 60 Hz.
constexpr auto kVideoPaintInterval = std::chrono::microseconds(1000000 / 60);

// Spaces the video window's repaints at least one display refresh apart.
// Sixteen cameras bring four hundred pictures a second and a screen shows at
// most its refresh rate, so painting each picture as it comes would wake the
// window and copy and flush far more often than anyone can see. What is new
// waits at most one interval and is painted together.
class PaintPacer {
public:
    using Clock = std::chrono::steady_clock;

    explicit PaintPacer(Clock::duration interval) : m_interval(interval) {}

    // How long to wait at `now` before painting; zero means paint now.
    Clock::duration WaitBeforePaint(Clock::time_point now) const;
    void Painted(Clock::time_point now) { m_lastPaint = now; }

private:
    Clock::duration m_interval;
    std::optional<Clock::time_point> m_lastPaint;
};
