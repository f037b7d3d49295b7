#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>

// One event of a recorder's daily log: 16 bytes, no date (the date is the
// day the log belongs to). A log file is a plain sequence of records with no
// header.

constexpr std::size_t kLogRecordSize = 16;

// Event codes.
constexpr std::uint8_t kLogPowerOn = 11;
constexpr std::uint8_t kLogPowerOff = 12;
constexpr std::uint8_t kLogSensorOn = 21;     // parameter 1: sensor 0..7
constexpr std::uint8_t kLogSensorOff = 22;
constexpr std::uint8_t kLogSensorOutOn = 23;  // parameter 1: camera 0..15
constexpr std::uint8_t kLogSensorOutOff = 24;
constexpr std::uint8_t kLogRecordStart = 31;
constexpr std::uint8_t kLogRecordStop = 32;
constexpr std::uint8_t kLogCameraOn = 41;     // parameter 1: camera 0..15 (video back)
constexpr std::uint8_t kLogCameraOff = 42;    // parameter 1: camera 0..15 (video lost)
constexpr std::uint8_t kLogLan = 51;          // parameters 3..6: the remote IPv4 address
constexpr std::uint8_t kLogBackup = 61;
constexpr std::uint8_t kLogSetup = 71;
constexpr std::uint8_t kLogSetSave = 72;
constexpr std::uint8_t kLogSetupExit = 73;
constexpr std::uint8_t kLogSetTime = 81;      // parameters 1..6: the old date and time

struct DvrLogRecord {
    std::uint8_t eventCode = 0;
    std::uint8_t reserved1[3] = {};
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint8_t second = 0;
    std::uint8_t reserved7 = 0;
    // param[0] is parameter 1 (sensor or camera counted from 0; old year for
    // a time change), param[1] parameter 2, param[2..5] parameters 3..6.
    std::uint8_t param[6] = {};
    std::uint8_t reserved14[2] = {};

    bool operator==(const DvrLogRecord&) const = default;
};

static_assert(sizeof(DvrLogRecord) == kLogRecordSize && std::is_trivially_copyable_v<DvrLogRecord>);

DvrLogRecord MakeLogRecord(std::uint8_t eventCode, int hour, int minute, int second, std::uint8_t parameter1 = 0);
DvrLogRecord MakeLanLogRecord(int hour, int minute, int second, const std::array<std::uint8_t, 4>& address);
// The old date's year is stored as years since 2000 (one byte).
DvrLogRecord MakeSetTimeLogRecord(int hour, int minute, int second, int oldYear, int oldMonth, int oldDay,
                                  int oldHour, int oldMinute, int oldSecond);

std::array<std::uint8_t, kLogRecordSize> EncodeLogRecord(const DvrLogRecord& record);
// Nullopt when fewer than 16 bytes are given; any 16 bytes are a record.
std::optional<DvrLogRecord> DecodeLogRecord(const std::uint8_t* data, std::size_t length);

std::vector<std::uint8_t> EncodeLogFile(std::span<const DvrLogRecord> records);
// Whole records in file order; a short final piece is ignored.
std::vector<DvrLogRecord> DecodeLogFile(const std::uint8_t* data, std::size_t length);
