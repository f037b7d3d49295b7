#pragma once

#include <ctime>
#include <string>

class LocaleClock;

// Appends one event line to the day's log file under C:\DVR\Log, creating the
// folders first. False when the file could not be opened or written.
bool AppendEventLog(const std::string& eventText, std::time_t now, const LocaleClock& clock);
