#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace benchsupport {

// A video unit as dvr-emulator's --send-times file records it: its camera,
// its PTS and when its last byte left the recorder (the steady clock, which
// the emulator on the same machine shares with this process).
struct SentUnit {
    int camera = 0;
    int64_t pts = 0;
    std::chrono::steady_clock::time_point at;
};

// Every line of the file that reads as a sent unit, in file order.
std::vector<SentUnit> ReadSendTimes(const std::string& path);

} // namespace benchsupport
