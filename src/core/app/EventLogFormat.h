#pragma once

#include <optional>
#include <string>

// The daily local event log: one file per day under C:\DVR\Log named after the
// locale's short date, one line per event.

// "<time> ::<event>\r\n" (no blank between "::" and the event).
std::string EventLogLine(const std::string& timeText, const std::string& eventText);

// The locale's date text with every character that cannot stand in a file
// name replaced by "-": short dates such as 12/06/2026 would otherwise never
// make a valid name and the log would never be written.
std::string FileNameSafe(const std::string& text);

// "C:\DVR\Log\<safe date>.log"; empty when it would not fit the 256-byte
// path buffer the log has always used.
std::optional<std::string> EventLogPath(const std::string& shortDateText);
