#pragma once

#include "core/dvr/CivilDate.h"
#include "core/dvr/LogEventText.h"

#include <QString>

#include <vector>

// Reads a recorder log file into entries dated `date`. A file that cannot
// be opened, or is too large to be a day's log, gives no entries and the
// reason in `error`.
struct LogFileRead {
    std::vector<LogEntry> entries;
    QString error;  // empty when the file was read
};

LogFileRead ReadLogFile(const QString& path, const CivilDate& date);

// A day's log holds a few thousand records; anything near this is no log.
constexpr qint64 kLargestLogFile = 64LL * 1024 * 1024;
