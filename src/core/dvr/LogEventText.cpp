#include "core/dvr/LogEventText.h"

#include <cstdio>

namespace {

template <class... Args>
std::string Format(const char* format, Args... args)
{
    char buffer[96];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

bool IsDigits(std::string_view text)
{
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

int Decimal(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

std::string LogRecordDescription(const DvrLogRecord& r)
{
    const int n = r.param[0] + 1;
    switch (r.eventCode) {
    case kLogPowerOn: return "Power On";
    case kLogPowerOff: return "Power Off";
    case kLogSensorOn: return Format("Sensor On No:%d", n);
    case kLogSensorOff: return Format("Sensor Off No:%d", n);
    case kLogSensorOutOn: return Format("Sensor Out On Cam No:%d", n);
    case kLogSensorOutOff: return Format("Sensor Out Off Cam No:%d", n);
    case kLogRecordStart: return "Record Start";
    case kLogRecordStop: return "Record Stop";
    case kLogCameraOn: return Format("Camera On No: %02d", n);
    case kLogCameraOff: return Format("Camera Off No: %02d", n);
    case kLogLan: return Format("LAN %d.%d.%d.%d", r.param[2], r.param[3], r.param[4], r.param[5]);
    case kLogBackup: return "Backup";
    case kLogSetup: return "Setup";
    case kLogSetSave: return "Set Save";
    case kLogSetupExit: return "Setup Exit";
    case kLogSetTime:
        return Format("Old Date:%d-%d-%d Old Time:%02d:%02d:%02d", r.param[0], r.param[1], r.param[2], r.param[3],
                      r.param[4], r.param[5]);
    default: return "Nothing";
    }
}

std::string LogRecordDateTimeText(const CivilDate& logDate, const DvrLogRecord& r)
{
    return Format("%d-%02d-%02d     %02d:%02d:%02d", logDate.year, logDate.month, logDate.day, r.hour, r.minute,
                  r.second);
}

std::optional<LogFilterGroup> LogEventGroup(std::uint8_t eventCode)
{
    switch (eventCode) {
    case kLogPowerOn:
    case kLogPowerOff: return LogFilterGroup::Power;
    case kLogSensorOn:
    case kLogSensorOff: return LogFilterGroup::Sensor;
    case kLogSensorOutOn:
    case kLogSensorOutOff: return LogFilterGroup::SensorOut;
    case kLogRecordStart:
    case kLogRecordStop: return LogFilterGroup::Record;
    case kLogCameraOn:
    case kLogCameraOff: return LogFilterGroup::Camera;
    case kLogLan: return LogFilterGroup::Lan;
    case kLogBackup: return LogFilterGroup::Backup;
    case kLogSetup:
    case kLogSetupExit: return LogFilterGroup::Setup;
    case kLogSetTime: return LogFilterGroup::SetTime;
    default: return std::nullopt;
    }
}

bool LogRecordInGroup(std::uint8_t eventCode, LogFilterGroup group)
{
    return group == LogFilterGroup::All || LogEventGroup(eventCode) == group;
}

std::vector<LogEntry> DecodeLogEntries(const std::uint8_t* data, std::size_t length, const CivilDate& logDate)
{
    std::vector<LogEntry> entries;
    for (const DvrLogRecord& record : DecodeLogFile(data, length))
        entries.push_back({record.eventCode, LogRecordDescription(record), LogRecordDateTimeText(logDate, record),
                           record.hour, record.minute, record.second});
    return entries;
}

std::string LogFileName(std::string_view serverName, const CivilDate& date)
{
    return "LOG_" + std::string(serverName) + Format("_%04d_%02d_%02d.log", date.year, date.month, date.day);
}

std::optional<CivilDate> LogFileNameDate(std::string_view fileName)
{
    constexpr std::size_t kTailLength = 14; // "YYYY_MM_DD.log"
    if (fileName.size() < kTailLength)
        return std::nullopt;
    const std::string_view tail = fileName.substr(fileName.size() - kTailLength);
    if (!IsDigits(tail.substr(0, 4)) || tail[4] != '_' || !IsDigits(tail.substr(5, 2)) || tail[7] != '_'
        || !IsDigits(tail.substr(8, 2)) || !EqualsIgnoringCase(tail.substr(10), ".log"))
        return std::nullopt;
    const CivilDate date{Decimal(tail.substr(0, 4)), Decimal(tail.substr(5, 2)), Decimal(tail.substr(8, 2))};
    if (!IsValidDate(date))
        return std::nullopt;
    return date;
}
