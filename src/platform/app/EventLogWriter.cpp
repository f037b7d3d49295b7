#include "platform/app/EventLogWriter.h"

#include "core/app/EventLogFormat.h"
#include "platform/app/DrivePaths.h"
#include "platform/app/LocaleClock.h"

#include <fcntl.h>
#include <unistd.h>

bool AppendEventLog(const std::string& eventText, std::time_t now, const LocaleClock& clock)
{
    drive::CreateFolder("C:\\DVR");
    drive::CreateFolder("C:\\DVR\\Log");

    std::string line = EventLogLine(clock.Time(now), eventText);
    auto path = EventLogPath(clock.ShortDate(now));
    if (!path)
        return false;

    int fd = ::open(drive::MapWindowsPath(*path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    return ::close(fd) == 0 && written;
}
