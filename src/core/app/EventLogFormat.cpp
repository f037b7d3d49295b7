#include "core/app/EventLogFormat.h"

#include <cstring>

std::string EventLogLine(const std::string& timeText, const std::string& eventText)
{
    return timeText + " ::" + eventText + "\r\n";
}

std::string FileNameSafe(const std::string& text)
{
    std::string safe = text;
    for (char& c : safe) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::strchr("\\/:*?\"<>|", c))
            c = '-';
    }
    return safe;
}

std::optional<std::string> EventLogPath(const std::string& shortDateText)
{
    constexpr std::size_t kPathBufferSize = 256;
    std::string path = "C:\\DVR\\Log\\" + FileNameSafe(shortDateText) + ".log";
    if (path.size() >= kPathBufferSize)
        return std::nullopt;
    return path;
}
