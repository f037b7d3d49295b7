#pragma once
// Which per-datagram counters a receiver has accepted: the highest one and
// the kSize before it. A counter below that window can no longer be told
// apart from a replay, so it counts as one.

#include <array>
#include <cstdint>

namespace wire {

class ReplayWindow {
public:
    static constexpr uint64_t kSize = 1024;
    enum class Verdict { Fresh, Repeated, TooOld };

    // Looks only; a datagram is accepted after it proved authentic.
    Verdict Check(uint64_t counter) const;
    // Marks a Fresh counter as seen, moving the window up when it is the highest.
    void Accept(uint64_t counter);

private:
    bool Seen(uint64_t counter) const;

    bool any_ = false;
    uint64_t top_ = 0;
    // Bit (counter % kSize) for each counter in (top_ - kSize, top_].
    std::array<uint64_t, kSize / 64> seen_{};
};

}  // namespace wire
