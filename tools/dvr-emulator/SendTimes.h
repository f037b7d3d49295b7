#pragma once
// For benchmarks (--send-times): when each video unit of one session left the
// recorder, written as a line "CAMERA PTS NANOSECONDS" once the unit's last
// byte was given to the socket. PTS is the one the unit went out with (90
// kHz), NANOSECONDS a steady clock (CLOCK_MONOTONIC), so a program on the same
// machine can match the lines with what it received. Without a file every
// call returns at once.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>

namespace emulator {

class SendTimes {
public:
    explicit SendTimes(std::FILE* file) : file_(file) {}

    // A video unit whose last byte lies `bytesQueued` bytes ahead of what the
    // session has sent so far (0: it has left already, as a datagram does).
    void UnitQueued(int camera, uint64_t pts, size_t bytesQueued);
    // The session's socket took `bytes` more.
    void Sent(size_t bytes);

private:
    struct Unit {
        int camera;
        uint64_t pts;
        uint64_t endByte;
    };
    static long long Now();
    void Write(const Unit& unit, long long nowNs);

    std::FILE* file_;
    uint64_t sentBytes_ = 0;
    std::deque<Unit> queued_;
};

}  // namespace emulator
