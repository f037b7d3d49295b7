#pragma once
// The recorder's serial line as seen from outside: every SerialData frame is
// appended to DATA/serial.log as one line "HH:MM:SS.mmm xx xx ..." (local
// time, the bytes in hex), so tests and people can see what PTZ sent.

#include <cstddef>
#include <cstdint>
#include <string>

namespace emulator {

class SerialLog {
public:
    explicit SerialLog(std::string path) : path_(std::move(path)) {}
    // False when the line could not be written (the bytes still reach the cameras).
    bool Append(const uint8_t* data, size_t length);
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// "HH:MM:SS.mmm ff 01 ..." for the given local time.
std::string SerialLogLine(int hour, int minute, int second, int millisecond, const uint8_t* data, size_t length);

}  // namespace emulator
