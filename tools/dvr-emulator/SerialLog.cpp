#include "SerialLog.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace emulator {

std::string SerialLogLine(int hour, int minute, int second, int millisecond, const uint8_t* data, size_t length)
{
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d", hour, minute, second, millisecond);
    std::string line = stamp;
    static const char kHex[] = "0123456789abcdef";
    for (size_t i = 0; i < length; ++i) {
        line += ' ';
        line += kHex[data[i] >> 4];
        line += kHex[data[i] & 15];
    }
    line += '\n';
    return line;
}

bool SerialLog::Append(const uint8_t* data, size_t length)
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const int ms = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    const std::string line = SerialLogLine(local.tm_hour, local.tm_min, local.tm_sec, ms, data, length);
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    // One write with O_APPEND: a line is never interleaved with another.
    const bool ok = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    ::close(fd);
    return ok;
}

}  // namespace emulator
