#pragma once

#include <cstddef>

// The limits the setup pages put on what an operator can enter, shared with
// the checks of settings written from a file, so both accept the same values.

struct ValueRange {
    int low;
    int high;
    constexpr bool Contains(long long value) const { return value >= low && value <= high; }
};

inline constexpr std::size_t kPasswordMaxLength = 8;   // ADMIN, GUEST0, GUEST1
inline constexpr std::size_t kCameraNameMaxLength = 8;
inline constexpr std::size_t kRecorderIdDigits = 3;

inline constexpr ValueRange kRecorderIdRange{0, 255};
inline constexpr ValueRange kYesNoRange{0, 1};          // daylight saving, video standard, confirmation, watermark
inline constexpr ValueRange kMouseSensorRange{1, 3};
inline constexpr ValueRange kAlphablendRange{1, 10};
inline constexpr ValueRange kSensitivityRange{10, 100};
inline constexpr ValueRange kFrameRateRange{0, 30};
inline constexpr ValueRange kHourRange{0, 24};
inline constexpr ValueRange kDwellRange{0, 511};
inline constexpr ValueRange kPortRange{0, 65535};
inline constexpr ValueRange kScheduleRange{0, 4};
inline constexpr ValueRange kAudioRecordRange{0, 15};   // four cameras a group
inline constexpr unsigned kEventMailBits = 0x1FF;       // ALL and the eight events
