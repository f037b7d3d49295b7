#include "SendTimes.h"

#include <chrono>

namespace emulator {

void SendTimes::UnitQueued(int camera, uint64_t pts, size_t bytesQueued)
{
    if (!file_)
        return;
    const Unit unit{camera, pts, sentBytes_ + bytesQueued};
    if (bytesQueued == 0) {
        Write(unit, Now());
        std::fflush(file_);
        return;
    }
    queued_.push_back(unit);
}

void SendTimes::Sent(size_t bytes)
{
    if (!file_)
        return;
    sentBytes_ += bytes;
    const long long now = Now();
    bool wrote = false;
    while (!queued_.empty() && queued_.front().endByte <= sentBytes_) {
        Write(queued_.front(), now);
        queued_.pop_front();
        wrote = true;
    }
    // The reader may look before the recorder stops.
    if (wrote)
        std::fflush(file_);
}

long long SendTimes::Now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SendTimes::Write(const Unit& unit, long long nowNs)
{
    std::fprintf(file_, "%d %llu %lld\n", unit.camera, static_cast<unsigned long long>(unit.pts), nowNs);
}

}  // namespace emulator
