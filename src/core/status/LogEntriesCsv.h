#pragma once

#include "core/dvr/LogEventText.h"

#include <span>
#include <string>

// The listed entries as CSV (RFC 4180, CRLF lines, UTF-8): a header line
// "Date & Time,Description", then one line per entry in list order.
std::string LogEntriesCsv(std::span<const LogEntry* const> entries);
