#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/dvr/CivilDate.h"
#include "core/dvr/ZerdInfoBlock.h"

// A month's recording days: bit d-1 set = day d has recordings.
constexpr std::size_t kMonthMaskSize = 4;

// Days outside 1..31 are ignored.
std::uint32_t MonthMaskFromDays(std::span<const int> days);
bool MonthMaskHasDay(std::uint32_t mask, int day);
// The days 1..min(31, daysInMonth) whose bits are set, ascending.
std::vector<int> MonthMaskDays(std::uint32_t mask, int daysInMonth = 31);
std::array<std::uint8_t, kMonthMaskSize> EncodeMonthMask(std::uint32_t mask);
// Nullopt unless exactly 4 bytes are given.
std::optional<std::uint32_t> DecodeMonthMask(const std::uint8_t* data, std::size_t length);

// A recorder's answer about one month: which month it is for, and its days.
struct RecordingMonth {
    int year = 0;
    int month = 0;  // 1..12; 0 before any answer
    std::uint32_t dayMask = 0;

    bool IsFor(const CivilDate& date) const { return year == date.year && month == date.month; }
};

// What a recorder recorded during one day: per channel and hour the kind of
// recording (ScheduleMode values; None = nothing recorded).
//
// Bytes: "DP", version 1, channel count (1..16), year (u16 little-endian),
// month, day, then 24 bytes per channel, hour 0 first.
struct DailyProfile {
    CivilDate date;
    std::uint8_t channelCount = 0;
    std::uint8_t hourMode[kMaxChannels][kScheduleHours] = {};

    bool operator==(const DailyProfile&) const = default;
};

constexpr std::size_t kDailyProfileHeaderSize = 8;
constexpr std::uint8_t kDailyProfileVersion = 1;

std::vector<std::uint8_t> EncodeDailyProfile(const DailyProfile& profile);
// Refuses a wrong magic or version, a channel count outside 1..16, a length
// that does not match the count, a date that is no real day and hour values
// above 4.
std::optional<DailyProfile> DecodeDailyProfile(const std::uint8_t* data, std::size_t length,
                                               std::string* error = nullptr);

// Transfers in numbered blocks (log file, daily profile): block i holds bytes
// [i*blockSize, (i+1)*blockSize) of the whole; the last block may be short or
// empty. An empty whole still travels as one empty last block.
std::size_t TransferBlockCount(std::size_t totalBytes, std::size_t blockSize);
std::vector<std::uint8_t> TransferBlock(std::span<const std::uint8_t> whole, std::size_t index, std::size_t blockSize);
