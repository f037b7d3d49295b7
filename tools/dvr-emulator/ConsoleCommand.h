#pragma once
// Commands the emulator reads on standard input, one a line.

#include <cstdint>
#include <optional>
#include <string>

namespace emulator {

struct AlarmCommand {
    int sensor = 0;                // 0-based
    std::optional<uint16_t> port;  // only the recorder on this port
};

// "alarm N" or "alarm N PORT" (N 1-based); nullopt and *error otherwise.
// Blank lines are nullopt with an empty error.
std::optional<AlarmCommand> ParseConsoleCommand(const std::string& line, std::string* error);

}  // namespace emulator
