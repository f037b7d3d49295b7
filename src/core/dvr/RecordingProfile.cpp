#include "core/dvr/RecordingProfile.h"

#include <algorithm>

#include "core/dvr/LittleEndian.h"

namespace {

constexpr std::uint8_t kMagic0 = 'D';
constexpr std::uint8_t kMagic1 = 'P';
constexpr std::uint8_t kHighestMode = static_cast<std::uint8_t>(ScheduleMode::None);

} // namespace

std::uint32_t MonthMaskFromDays(std::span<const int> days)
{
    std::uint32_t mask = 0;
    for (int day : days) {
        if (day >= 1 && day <= 31)
            mask |= 1u << (day - 1);
    }
    return mask;
}

bool MonthMaskHasDay(std::uint32_t mask, int day)
{
    return day >= 1 && day <= 31 && (mask >> (day - 1)) & 1u;
}

std::vector<int> MonthMaskDays(std::uint32_t mask, int daysInMonth)
{
    std::vector<int> days;
    const int last = std::min(31, daysInMonth);
    for (int day = 1; day <= last; ++day) {
        if (MonthMaskHasDay(mask, day))
            days.push_back(day);
    }
    return days;
}

std::array<std::uint8_t, kMonthMaskSize> EncodeMonthMask(std::uint32_t mask)
{
    std::array<std::uint8_t, kMonthMaskSize> bytes;
    WriteLeU32(bytes.data(), mask);
    return bytes;
}

std::optional<std::uint32_t> DecodeMonthMask(const std::uint8_t* data, std::size_t length)
{
    if (data == nullptr || length != kMonthMaskSize)
        return std::nullopt;
    return ReadLeU32(data);
}

std::vector<std::uint8_t> EncodeDailyProfile(const DailyProfile& profile)
{
    const std::size_t channels = std::min<std::size_t>(profile.channelCount, kMaxChannels);
    std::vector<std::uint8_t> bytes(kDailyProfileHeaderSize + channels * kScheduleHours);
    bytes[0] = kMagic0;
    bytes[1] = kMagic1;
    bytes[2] = kDailyProfileVersion;
    bytes[3] = static_cast<std::uint8_t>(channels);
    WriteLeU16(bytes.data() + 4, static_cast<std::uint16_t>(profile.date.year));
    bytes[6] = static_cast<std::uint8_t>(profile.date.month);
    bytes[7] = static_cast<std::uint8_t>(profile.date.day);
    for (std::size_t c = 0; c < channels; ++c)
        std::copy_n(profile.hourMode[c], kScheduleHours, bytes.begin() + kDailyProfileHeaderSize + c * kScheduleHours);
    return bytes;
}

std::optional<DailyProfile> DecodeDailyProfile(const std::uint8_t* data, std::size_t length, std::string* error)
{
    const auto fail = [&](const char* text) -> std::optional<DailyProfile> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    if (data == nullptr || length < kDailyProfileHeaderSize)
        return fail("daily profile is shorter than its header");
    if (data[0] != kMagic0 || data[1] != kMagic1)
        return fail("daily profile has no DP mark");
    if (data[2] != kDailyProfileVersion)
        return fail("daily profile has an unknown version");
    const std::size_t channels = data[3];
    if (channels < 1 || channels > kMaxChannels)
        return fail("daily profile has a channel count outside 1..16");
    if (length != kDailyProfileHeaderSize + channels * kScheduleHours)
        return fail("daily profile length does not match its channel count");
    DailyProfile profile;
    profile.date = CivilDate{ReadLeU16(data + 4), data[6], data[7]};
    if (!IsValidDate(profile.date))
        return fail("daily profile names no real day");
    profile.channelCount = static_cast<std::uint8_t>(channels);
    for (std::size_t c = 0; c < channels; ++c) {
        const std::uint8_t* hours = data + kDailyProfileHeaderSize + c * kScheduleHours;
        if (std::any_of(hours, hours + kScheduleHours, [](std::uint8_t m) { return m > kHighestMode; }))
            return fail("daily profile holds a recording kind above 4");
        std::copy_n(hours, kScheduleHours, profile.hourMode[c]);
    }
    return profile;
}

std::size_t TransferBlockCount(std::size_t totalBytes, std::size_t blockSize)
{
    if (blockSize == 0)
        return 0;
    return std::max<std::size_t>(1, (totalBytes + blockSize - 1) / blockSize);
}

std::vector<std::uint8_t> TransferBlock(std::span<const std::uint8_t> whole, std::size_t index, std::size_t blockSize)
{
    if (blockSize == 0 || index > whole.size() / blockSize)
        return {};
    const std::size_t start = index * blockSize; // not beyond the end, checked above
    const std::size_t end = std::min(whole.size(), start + blockSize);
    return std::vector<std::uint8_t>(whole.begin() + static_cast<std::ptrdiff_t>(start),
                                     whole.begin() + static_cast<std::ptrdiff_t>(end));
}
