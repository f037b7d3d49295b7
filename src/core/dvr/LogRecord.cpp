#include "core/dvr/LogRecord.h"

#include <cstring>

namespace {

std::uint8_t Byte(int value)
{
    return static_cast<std::uint8_t>(value);
}

} // namespace

DvrLogRecord MakeLogRecord(std::uint8_t eventCode, int hour, int minute, int second, std::uint8_t parameter1)
{
    DvrLogRecord record;
    record.eventCode = eventCode;
    record.hour = Byte(hour);
    record.minute = Byte(minute);
    record.second = Byte(second);
    record.param[0] = parameter1;
    return record;
}

DvrLogRecord MakeLanLogRecord(int hour, int minute, int second, const std::array<std::uint8_t, 4>& address)
{
    DvrLogRecord record = MakeLogRecord(kLogLan, hour, minute, second);
    std::memcpy(record.param + 2, address.data(), address.size());
    return record;
}

DvrLogRecord MakeSetTimeLogRecord(int hour, int minute, int second, int oldYear, int oldMonth, int oldDay,
                                  int oldHour, int oldMinute, int oldSecond)
{
    DvrLogRecord record = MakeLogRecord(kLogSetTime, hour, minute, second, Byte(oldYear - 2000));
    record.param[1] = Byte(oldMonth);
    record.param[2] = Byte(oldDay);
    record.param[3] = Byte(oldHour);
    record.param[4] = Byte(oldMinute);
    record.param[5] = Byte(oldSecond);
    return record;
}

std::array<std::uint8_t, kLogRecordSize> EncodeLogRecord(const DvrLogRecord& record)
{
    std::array<std::uint8_t, kLogRecordSize> bytes;
    std::memcpy(bytes.data(), &record, kLogRecordSize);
    return bytes;
}

std::optional<DvrLogRecord> DecodeLogRecord(const std::uint8_t* data, std::size_t length)
{
    if (data == nullptr || length < kLogRecordSize)
        return std::nullopt;
    DvrLogRecord record;
    std::memcpy(&record, data, kLogRecordSize);
    return record;
}

std::vector<std::uint8_t> EncodeLogFile(std::span<const DvrLogRecord> records)
{
    std::vector<std::uint8_t> bytes(records.size() * kLogRecordSize);
    if (!records.empty())
        std::memcpy(bytes.data(), records.data(), bytes.size());
    return bytes;
}

std::vector<DvrLogRecord> DecodeLogFile(const std::uint8_t* data, std::size_t length)
{
    if (data == nullptr)
        return {};
    std::vector<DvrLogRecord> records(length / kLogRecordSize);
    if (!records.empty())
        std::memcpy(records.data(), data, records.size() * kLogRecordSize);
    return records;
}
