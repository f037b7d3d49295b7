#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dvr/CivilDate.h"
#include "core/dvr/LogRecord.h"

// What the log viewer shows of a record: its description, its date and time
// text, and the filter group it is listed under.

enum class LogFilterGroup { Power, Sensor, Record, SensorOut, Lan, Camera, Backup, Setup, SetTime, All };

// "Power On", "Sensor On No:3", "LAN 192.168.0.7", ...; "Nothing" for an
// unknown code.
std::string LogRecordDescription(const DvrLogRecord& record);
// "2007-03-09     14:05:09": the log's date with the record's time.
std::string LogRecordDateTimeText(const CivilDate& logDate, const DvrLogRecord& record);
// The one filter group besides All that lists the code; nullopt when only All
// lists it.
std::optional<LogFilterGroup> LogEventGroup(std::uint8_t eventCode);
bool LogRecordInGroup(std::uint8_t eventCode, LogFilterGroup group);

// One line of the log viewer's list.
struct LogEntry {
    int eventCode = 0;
    std::string description;
    std::string dateTime;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const LogEntry&) const = default;
};

// The entries of a log file's bytes in file order (a short final piece adds
// none), all dated with the log's day.
std::vector<LogEntry> DecodeLogEntries(const std::uint8_t* data, std::size_t length, const CivilDate& logDate);

// "LOG_<server>_YYYY_MM_DD.log".
std::string LogFileName(std::string_view serverName, const CivilDate& date);
// The date in a log file name: its last 14 characters "YYYY_MM_DD.log".
// Nullopt when they do not have that form or name no real day.
std::optional<CivilDate> LogFileNameDate(std::string_view fileName);
