#include "core/status/LogEntriesCsv.h"

namespace {

std::string Field(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

std::string LogEntriesCsv(std::span<const LogEntry* const> entries)
{
    std::string csv = "Date & Time,Description\r\n";
    for (const LogEntry* entry : entries)
        csv += Field(entry->dateTime) + ',' + Field(entry->description) + "\r\n";
    return csv;
}
