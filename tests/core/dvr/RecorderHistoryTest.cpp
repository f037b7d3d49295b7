#include <gtest/gtest.h>

#include <bit>

#include "core/dvr/DvrModel.h"
#include "core/dvr/LogEventText.h"
#include "core/dvr/RecorderHistory.h"

namespace {

const RecorderNow kNow{{2026, 12, 6}, 15 * 3600 + 30 * 60}; // 15:30:00

int SecondOf(const DvrLogRecord& r)
{
    return r.hour * 3600 + r.minute * 60 + r.second;
}

} // namespace

TEST(RecorderHistory, StableForASeedAndDifferentAcrossSeeds)
{
    const CivilDate day{2026, 11, 20};
    EXPECT_EQ(HistoryDayLog(42, 3, day, kNow), HistoryDayLog(42, 3, day, kNow));
    EXPECT_EQ(HistoryDailyProfile(42, 3, day, kNow), HistoryDailyProfile(42, 3, day, kNow));
    int differentMonths = 0;
    for (int month = 1; month <= 11; ++month)
        differentMonths += HistoryMonthMask(1, 3, 2026, month, kNow) != HistoryMonthMask(2, 3, 2026, month, kNow);
    EXPECT_GT(differentMonths, 5);
}

TEST(RecorderHistory, MostPastDaysRecordNoFutureDayDoes)
{
    int recorded = 0, total = 0;
    for (int month = 1; month <= 11; ++month) {
        const std::uint32_t mask = HistoryMonthMask(7, 2, 2026, month, kNow);
        EXPECT_EQ(mask >> DaysInMonth(2026, month), 0u) << "no bits beyond the month's last day";
        recorded += std::popcount(mask);
        total += DaysInMonth(2026, month);
    }
    EXPECT_GT(recorded, total * 7 / 10);
    EXPECT_LT(recorded, total);

    const std::uint32_t december = HistoryMonthMask(7, 2, 2026, 12, kNow);
    EXPECT_TRUE(december & (1u << 5)) << "today records";
    EXPECT_EQ(december >> 6, 0u) << "nothing after today";
    EXPECT_EQ(HistoryMonthMask(7, 2, 2027, 1, kNow), 0u);
    EXPECT_EQ(HistoryMonthMask(7, 2, 2020, 1, kNow), 0u) << "before the recorder's history";
    EXPECT_EQ(HistoryMonthMask(7, 2, 2026, 13, kNow), 0u);
    EXPECT_EQ(HistoryMonthMask(7, 9, 2026, 11, kNow), 0u) << "unknown model";
}

TEST(RecorderHistory, DaysWithoutRecordingsHaveNoLogAndNoProfile)
{
    int checked = 0;
    for (int day = 1; day <= 30; ++day) {
        const CivilDate date{2026, 11, day};
        const bool recorded = MonthMaskHasDay(HistoryMonthMask(3, 4, 2026, 11, kNow), day);
        EXPECT_EQ(recorded, HistoryHasRecording(3, 4, date, kNow));
        EXPECT_EQ(recorded, HistoryDailyProfile(3, 4, date, kNow).has_value());
        if (!recorded) {
            EXPECT_TRUE(HistoryDayLog(3, 4, date, kNow).empty());
            ++checked;
        }
    }
    EXPECT_GT(checked, 0) << "the seed should leave some day unrecorded";
    EXPECT_TRUE(HistoryDayLog(3, 4, {2026, 12, 7}, kNow).empty());
    EXPECT_TRUE(HistoryDayLog(3, 4, {2026, 2, 30}, kNow).empty());
}

TEST(RecorderHistory, LogsArePlausibleForTheirModel)
{
    for (const DvrModelInfo& model : DvrModels()) {
        SCOPED_TRACE(model.name);
        std::size_t events = 0;
        bool sawPowerOn = false, sawSensor = false, sawLan = false;
        for (int month = 6; month <= 11; ++month) {
            for (int day = 1; day <= DaysInMonth(2026, month); ++day) {
                const CivilDate date{2026, month, day};
                const auto log = HistoryDayLog(11, model.typeCode, date, kNow);
                events += log.size();
                for (std::size_t i = 0; i < log.size(); ++i) {
                    const DvrLogRecord& r = log[i];
                    ASSERT_LE(r.hour, 23);
                    ASSERT_LE(r.minute, 59);
                    ASSERT_LE(r.second, 59);
                    if (i) {
                        ASSERT_LE(SecondOf(log[i - 1]), SecondOf(r)) << "time order";
                    }
                    ASSERT_NE(LogRecordDescription(r), "Nothing") << int(r.eventCode);
                    const auto group = LogEventGroup(r.eventCode);
                    if (group == LogFilterGroup::Sensor) {
                        ASSERT_LT(r.param[0], model.sensors);
                    }
                    if (group == LogFilterGroup::Camera || group == LogFilterGroup::SensorOut) {
                        ASSERT_LT(r.param[0], model.channels);
                    }
                    sawPowerOn |= r.eventCode == kLogPowerOn;
                    sawSensor |= r.eventCode == kLogSensorOn;
                    sawLan |= r.eventCode == kLogLan;
                }
            }
        }
        EXPECT_GT(events, 100u);
        EXPECT_TRUE(sawPowerOn);
        EXPECT_TRUE(sawSensor);
        EXPECT_TRUE(sawLan);
    }
}

TEST(RecorderHistory, PowerCyclesMatchTheRecordingDays)
{
    // A recorder that was off the day before logs "Power On"; one that is off
    // the next day logs "Power Off" that evening.
    for (int day = 2; day <= 29; ++day) {
        const CivilDate date{2026, 11, day};
        if (!HistoryHasRecording(5, 3, date, kNow))
            continue;
        const auto log = HistoryDayLog(5, 3, date, kNow);
        const bool on = std::any_of(log.begin(), log.end(), [](auto& r) { return r.eventCode == kLogPowerOn; });
        const bool off = std::any_of(log.begin(), log.end(), [](auto& r) { return r.eventCode == kLogPowerOff; });
        EXPECT_EQ(on, !HistoryHasRecording(5, 3, {2026, 11, day - 1}, kNow)) << day;
        EXPECT_EQ(off, !HistoryHasRecording(5, 3, {2026, 11, day + 1}, kNow)) << day;
    }
}

TEST(RecorderHistory, TodayStopsAtTheCurrentMoment)
{
    for (std::uint64_t seed = 0; seed < 20; ++seed) {
        const auto log = HistoryDayLog(seed, 3, kNow.date, kNow);
        for (const DvrLogRecord& r : log)
            ASSERT_LE(SecondOf(r), kNow.secondOfDay);
        EXPECT_TRUE(std::none_of(log.begin(), log.end(), [](auto& r) { return r.eventCode == kLogPowerOff; }));
        const auto profile = HistoryDailyProfile(seed, 3, kNow.date, kNow);
        ASSERT_TRUE(profile);
        for (int c = 0; c < profile->channelCount; ++c)
            for (int h = 16; h < 24; ++h)
                ASSERT_EQ(profile->hourMode[c][h], static_cast<std::uint8_t>(ScheduleMode::None));
    }
    // As the day goes on its log only grows.
    for (std::uint64_t seed = 0; seed < 20; ++seed) {
        const RecorderNow lunch{kNow.date, 13 * 3600};
        const auto earlier = HistoryDayLog(seed, 2, kNow.date, lunch);
        const auto later = HistoryDayLog(seed, 2, kNow.date, kNow);
        ASSERT_LE(earlier.size(), later.size());
        EXPECT_TRUE(std::equal(earlier.begin(), earlier.end(), later.begin())) << seed;
    }
    const RecorderNow earlyMorning{kNow.date, 60};
    const auto log = HistoryDayLog(9, 1, earlyMorning.date, earlyMorning);
    for (const DvrLogRecord& r : log)
        EXPECT_LE(SecondOf(r), 60);
}

TEST(RecorderHistory, ProfilesFitTheModelAndEncode)
{
    for (const DvrModelInfo& model : DvrModels()) {
        const CivilDate day{2026, 12, 1};
        const auto profile = HistoryDailyProfile(21, model.typeCode, day, kNow);
        if (!profile)
            continue;
        EXPECT_EQ(profile->channelCount, model.channels);
        EXPECT_EQ(profile->date, day);
        int recordedHours = 0;
        for (int c = 0; c < profile->channelCount; ++c)
            for (int h = 0; h < 24; ++h)
                recordedHours += profile->hourMode[c][h] != static_cast<std::uint8_t>(ScheduleMode::None);
        EXPECT_GT(recordedHours, 0);
        const auto bytes = EncodeDailyProfile(*profile);
        EXPECT_EQ(DecodeDailyProfile(bytes.data(), bytes.size()), profile);
    }
}
