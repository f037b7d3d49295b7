#include "core/dvr/RecorderHistory.h"

#include <algorithm>

#include "core/dvr/DvrModel.h"

namespace {

constexpr int kSecondsPerDay = 86400;

// Salts that keep the independent choices of one day apart.
enum Salt : std::uint64_t { kSaltRecording = 1, kSaltDay = 2, kSaltChannelKind = 3, kSaltMotion = 4 };

std::uint64_t Mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t Hash(std::uint64_t seed, int typeCode, long long a, std::uint64_t salt, long long b = 0)
{
    std::uint64_t h = Mix(seed);
    h = Mix(h ^ static_cast<std::uint64_t>(typeCode));
    h = Mix(h ^ static_cast<std::uint64_t>(a));
    h = Mix(h ^ salt);
    return Mix(h ^ static_cast<std::uint64_t>(b));
}

// A small generator of our own: the standard distributions differ between
// libraries, and a recorder's past must not change with the toolchain.
class Rng {
public:
    explicit Rng(std::uint64_t state) : state_(state) {}
    std::uint64_t Next() { return Mix(state_++); }
    // Uniform in [low, high].
    int Between(int low, int high) { return low + static_cast<int>(Next() % static_cast<std::uint64_t>(high - low + 1)); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }

private:
    std::uint64_t state_;
};

enum class ChannelKind { Continuous, Motion, Dual, Sensor };

ChannelKind KindOfChannel(std::uint64_t seed, int typeCode, int channel)
{
    const std::uint64_t pick = Hash(seed, typeCode, channel, kSaltChannelKind) % 10;
    if (pick < 5)
        return ChannelKind::Continuous;
    if (pick < 8)
        return ChannelKind::Motion;
    return pick < 9 ? ChannelKind::Dual : ChannelKind::Sensor;
}

struct TimedRecord {
    int time; // second of the day
    DvrLogRecord record;
};

// Everything that happened on one recording day.
struct DayPlan {
    int start = 0;              // recording from this second ...
    int end = kSecondsPerDay - 1; // ... to this one
    std::vector<TimedRecord> events;
    std::vector<int> sensorAlarms; // seconds of the day a sensor went off
};

bool ValidNow(const RecorderNow& now)
{
    return IsValidDate(now.date) && now.secondOfDay >= 0 && now.secondOfDay < kSecondsPerDay;
}

void Add(DayPlan& plan, int time, const DvrLogRecord& record)
{
    plan.events.push_back({time, record});
}

DvrLogRecord At(std::uint8_t code, int time, std::uint8_t parameter1 = 0)
{
    return MakeLogRecord(code, time / 3600, time / 60 % 60, time % 60, parameter1);
}

void AddSensorAlarms(DayPlan& plan, Rng& rng, const DvrModelInfo& model)
{
    for (int sensor = 0; sensor < model.sensors; ++sensor) {
        const int alarms = rng.Chance(60) ? rng.Between(0, 3) : 0;
        for (int i = 0; i < alarms; ++i) {
            const int on = rng.Between(plan.start, plan.end);
            const int off = std::min(plan.end, on + rng.Between(5, 120));
            Add(plan, on, At(kLogSensorOn, on, static_cast<std::uint8_t>(sensor)));
            plan.sensorAlarms.push_back(on);
            if (rng.Chance(50)) {
                const auto camera = static_cast<std::uint8_t>(rng.Between(0, model.channels - 1));
                const int out = std::min(on + 1, off);
                Add(plan, out, At(kLogSensorOutOn, out, camera));
                Add(plan, off, At(kLogSensorOutOff, off, camera));
            }
            Add(plan, off, At(kLogSensorOff, off, static_cast<std::uint8_t>(sensor)));
        }
    }
}

void AddVideoLoss(DayPlan& plan, Rng& rng, const DvrModelInfo& model)
{
    if (!rng.Chance(15))
        return;
    const auto camera = static_cast<std::uint8_t>(rng.Between(0, model.channels - 1));
    const int lost = rng.Between(plan.start, plan.end);
    const int back = std::min(plan.end, lost + rng.Between(30, 1800));
    Add(plan, lost, At(kLogCameraOff, lost, camera));
    Add(plan, back, At(kLogCameraOn, back, camera));
}

void AddOperatorVisits(DayPlan& plan, Rng& rng)
{
    const int logins = rng.Between(0, 4);
    for (int i = 0; i < logins; ++i) {
        const int t = rng.Between(plan.start, plan.end);
        const std::array<std::uint8_t, 4> client = {192, 168, 123, static_cast<std::uint8_t>(rng.Between(10, 250))};
        Add(plan, t, MakeLanLogRecord(t / 3600, t / 60 % 60, t % 60, client));
        if (rng.Chance(10)) {
            const int setup = std::min(plan.end, t + rng.Between(10, 120));
            const int save = std::min(plan.end, setup + rng.Between(20, 300));
            const int exit = std::min(plan.end, save + rng.Between(1, 30));
            Add(plan, setup, At(kLogSetup, setup));
            Add(plan, save, At(kLogSetSave, save));
            Add(plan, exit, At(kLogSetupExit, exit));
        }
    }
    if (rng.Chance(5)) {
        const int t = rng.Between(plan.start, plan.end);
        Add(plan, t, At(kLogBackup, t));
    }
}

void AddClockCorrection(DayPlan& plan, Rng& rng, const CivilDate& day)
{
    if (!rng.Chance(3))
        return;
    const int t = rng.Between(plan.start, plan.end);
    const int old = std::max(0, t - rng.Between(5, 600)); // the clock had run slow
    Add(plan, t, MakeSetTimeLogRecord(t / 3600, t / 60 % 60, t % 60, day.year, day.month, day.day, old / 3600,
                                      old / 60 % 60, old % 60));
}

// Null when the day has no recordings.
std::optional<DayPlan> PlanDay(std::uint64_t seed, int typeCode, const CivilDate& day, const RecorderNow& now)
{
    const DvrModelInfo* model = FindDvrModel(typeCode);
    if (!model || !HistoryHasRecording(seed, typeCode, day, now))
        return std::nullopt;
    const long long dayNumber = DaysFromCivil(day);
    const bool isToday = day == now.date;
    Rng rng(Hash(seed, typeCode, dayNumber, kSaltDay));
    DayPlan plan;

    // A recorder that was off the day before was switched on this day; one
    // that stays off the next day was switched off in the evening.
    const bool poweredOn = !HistoryHasRecording(seed, typeCode, CivilFromDays(dayNumber - 1), now);
    const bool poweredOff = !isToday && !HistoryHasRecording(seed, typeCode, CivilFromDays(dayNumber + 1), now);
    int powerOnTime = rng.Between(6 * 3600, 12 * 3600);
    if (isToday)
        powerOnTime = std::min(powerOnTime, now.secondOfDay); // today's recording has begun
    const int powerOffTime = rng.Between(17 * 3600, 23 * 3600);
    if (poweredOn) {
        plan.start = powerOnTime;
        Add(plan, powerOnTime, At(kLogPowerOn, powerOnTime));
        Add(plan, powerOnTime + 20, At(kLogRecordStart, powerOnTime + 20));
    }
    if (poweredOff) {
        plan.end = powerOffTime;
        Add(plan, powerOffTime - 5, At(kLogRecordStop, powerOffTime - 5));
        Add(plan, powerOffTime, At(kLogPowerOff, powerOffTime));
    }
    AddSensorAlarms(plan, rng, *model);
    AddVideoLoss(plan, rng, *model);
    AddOperatorVisits(plan, rng);
    AddClockCorrection(plan, rng, day);

    // Today is the whole day's story cut at the present moment, so the log
    // only grows as the day goes on.
    if (isToday) {
        plan.end = now.secondOfDay;
        std::erase_if(plan.events, [&](const TimedRecord& e) { return e.time > plan.end; });
        std::erase_if(plan.sensorAlarms, [&](int time) { return time > plan.end; });
    }

    std::stable_sort(plan.events.begin(), plan.events.end(),
                     [](const TimedRecord& a, const TimedRecord& b) { return a.time < b.time; });
    return plan;
}

std::uint8_t HourMode(std::uint64_t seed, int typeCode, long long dayNumber, int channel, int hour,
                      const DayPlan& plan)
{
    const auto mode = [](ScheduleMode m) { return static_cast<std::uint8_t>(m); };
    if (hour < plan.start / 3600 || hour > plan.end / 3600)
        return mode(ScheduleMode::None);
    switch (KindOfChannel(seed, typeCode, channel)) {
    case ChannelKind::Continuous: return mode(ScheduleMode::Continuous);
    case ChannelKind::Dual: return mode(ScheduleMode::Dual);
    case ChannelKind::Sensor: {
        const bool alarm = std::any_of(plan.sensorAlarms.begin(), plan.sensorAlarms.end(),
                                       [&](int time) { return time / 3600 == hour; });
        return mode(alarm ? ScheduleMode::Sensor : ScheduleMode::None);
    }
    case ChannelKind::Motion: {
        const int percent = hour >= 8 && hour < 20 ? 60 : 20; // more goes on by day
        const bool moved = Hash(seed, typeCode, dayNumber, kSaltMotion, channel * 24 + hour) % 100
            < static_cast<std::uint64_t>(percent);
        return mode(moved ? ScheduleMode::Motion : ScheduleMode::None);
    }
    }
    return mode(ScheduleMode::None);
}

} // namespace

bool HistoryHasRecording(std::uint64_t seed, int dvrTypeCode, const CivilDate& day, const RecorderNow& now)
{
    if (!FindDvrModel(dvrTypeCode) || !IsValidDate(day) || !ValidNow(now))
        return false;
    const long long age = DaysFromCivil(now.date) - DaysFromCivil(day);
    if (age < 0 || age > kHistoryDays)
        return false;
    if (age == 0)
        return true;
    return Hash(seed, dvrTypeCode, DaysFromCivil(day), kSaltRecording) % 100 < 88;
}

std::uint32_t HistoryMonthMask(std::uint64_t seed, int dvrTypeCode, int year, int month, const RecorderNow& now)
{
    std::uint32_t mask = 0;
    const int days = DaysInMonth(year, month);
    for (int day = 1; day <= days; ++day) {
        if (HistoryHasRecording(seed, dvrTypeCode, CivilDate{year, month, day}, now))
            mask |= 1u << (day - 1);
    }
    return mask;
}

std::optional<DailyProfile> HistoryDailyProfile(std::uint64_t seed, int dvrTypeCode, const CivilDate& day,
                                                const RecorderNow& now)
{
    const auto plan = PlanDay(seed, dvrTypeCode, day, now);
    if (!plan)
        return std::nullopt;
    const DvrModelInfo* model = FindDvrModel(dvrTypeCode);
    DailyProfile profile;
    profile.date = day;
    profile.channelCount = static_cast<std::uint8_t>(model->channels);
    const long long dayNumber = DaysFromCivil(day);
    for (int c = 0; c < model->channels; ++c) {
        for (int h = 0; h < static_cast<int>(kScheduleHours); ++h)
            profile.hourMode[c][h] = HourMode(seed, dvrTypeCode, dayNumber, c, h, *plan);
    }
    return profile;
}

std::vector<DvrLogRecord> HistoryDayLog(std::uint64_t seed, int dvrTypeCode, const CivilDate& day,
                                        const RecorderNow& now)
{
    const auto plan = PlanDay(seed, dvrTypeCode, day, now);
    if (!plan)
        return {};
    std::vector<DvrLogRecord> records;
    records.reserve(plan->events.size());
    for (const TimedRecord& e : plan->events)
        records.push_back(e.record);
    return records;
}
