#include "core/net/ReplayWindow.h"

namespace wire {

bool ReplayWindow::Seen(uint64_t counter) const
{
    const uint64_t bit = counter % kSize;
    return (seen_[bit / 64] >> (bit % 64)) & 1u;
}

ReplayWindow::Verdict ReplayWindow::Check(uint64_t counter) const
{
    if (!any_ || counter > top_)
        return Verdict::Fresh;
    if (top_ - counter >= kSize)
        return Verdict::TooOld;
    return Seen(counter) ? Verdict::Repeated : Verdict::Fresh;
}

void ReplayWindow::Accept(uint64_t counter)
{
    if (!any_ || counter > top_) {
        const uint64_t step = any_ ? counter - top_ : kSize;
        if (step >= kSize) {
            seen_.fill(0);
        } else {
            // Counters skipped on the way up may still arrive: forget only
            // the slots that now stand for them.
            for (uint64_t i = 1; i <= step; ++i) {
                const uint64_t bit = (top_ + i) % kSize;
                seen_[bit / 64] &= ~(uint64_t{1} << (bit % 64));
            }
        }
        top_ = counter;
        any_ = true;
    }
    const uint64_t bit = counter % kSize;
    seen_[bit / 64] |= uint64_t{1} << (bit % 64);
}

}  // namespace wire
