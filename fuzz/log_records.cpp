// Downloaded or opened log files, the daily profile and the month mask: all
// arrive as bytes from a recorder or from disk.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/dvr/LogEventText.h"
#include "core/dvr/LogRecord.h"
#include "core/dvr/RecordingProfile.h"
#include "core/status/LogEntriesCsv.h"
#include "core/status/LogFilePaths.h"
#include "core/status/LogFilterButtons.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<DvrLogRecord> records = DecodeLogFile(data, size);
    if (records.size() != size / kLogRecordSize)
        std::abort();
    const std::vector<LogEntry> entries = DecodeLogEntries(data, size, {2026, 12, 6});
    if (entries.size() != records.size())
        std::abort();
    for (const LogEntry& entry : entries) {
        if (entry.description.empty() || entry.dateTime.empty())
            std::abort();
        const auto code = static_cast<std::uint8_t>(entry.eventCode);
        if (LogEventGroup(code) && !LogRecordInGroup(code, *LogEventGroup(code)))
            std::abort();
    }
    if (EntriesInGroup(entries, LogFilterGroup::All).size() != entries.size())
        std::abort();
    std::vector<const LogEntry*> rows;
    for (const LogEntry& entry : entries)
        rows.push_back(&entry);
    (void)LogEntriesCsv(rows);
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    // A server name never leads the downloaded log out of its folder.
    const std::string path = DownloadedLogPath(name, {2026, 12, 6});
    if (path.find_first_of("/:", 3) != std::string::npos || path.find('\\', 22) != std::string::npos)
        std::abort();
    const std::vector<std::uint8_t> again = EncodeLogFile(records);
    if (again.size() > size || (!again.empty() && std::memcmp(again.data(), data, again.size()) != 0))
        std::abort();

    std::string error;
    if (const auto profile = DecodeDailyProfile(data, size, &error)) {
        if (EncodeDailyProfile(*profile) != std::vector<std::uint8_t>(data, data + size))
            std::abort();
    }
    if (const auto mask = DecodeMonthMask(data, size))
        (void)MonthMaskDays(*mask, 31);
    if (const auto date = LogFileNameDate(std::string_view(reinterpret_cast<const char*>(data), size))) {
        if (!IsValidDate(*date))
            std::abort();
    }
    return 0;
}
