#pragma once

#include <chrono>
#include <optional>

// Work that DecoderWorkers run: the decoding of one channel. A job is run by
// one worker at a time, so it keeps its decoder without a lock.
class DecoderJob {
public:
    using Clock = std::chrono::steady_clock;

    struct Turn {
        bool moreWork = false;                // run again soon: work still waits
        std::optional<Clock::time_point> at;  // else run again then, even without new work
    };

    virtual ~DecoderJob() = default;
    // Does a bounded share of the waiting work, so one busy channel does not
    // hold a worker while others wait.
    virtual Turn Run(Clock::time_point now) = 0;
};
