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
