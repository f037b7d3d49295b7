#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/dvr/CivilDate.h"
#include "core/dvr/LogRecord.h"
#include "core/dvr/RecordingProfile.h"

// A recorder's past, made up for the emulator: recording days, daily profiles
// and daily logs. Everything is a pure function of (seed, model, date, now),
// so a recorder tells the same story every time it is asked.

// The recorder's present moment; nothing is recorded after it.
struct RecorderNow {
    CivilDate date;
    int secondOfDay = 86399; // 0..86399
};

// How far back the history reaches: days older than this before "now" have
// no recordings (the recorder was installed then).
constexpr int kHistoryDays = 400;

// True for most past days within the history, always for today, never for a
// day after now or an invalid date.
bool HistoryHasRecording(std::uint64_t seed, int dvrTypeCode, const CivilDate& day, const RecorderNow& now);
// The recording days of a month; 0 for an invalid month.
std::uint32_t HistoryMonthMask(std::uint64_t seed, int dvrTypeCode, int year, int month, const RecorderNow& now);
// Nullopt on a day without recordings or for an unknown model. Today's
// profile stops at the current hour.
std::optional<DailyProfile> HistoryDailyProfile(std::uint64_t seed, int dvrTypeCode, const CivilDate& day,
                                                const RecorderNow& now);
// The day's log in time order; empty ("no log") on a day without recordings
// or for an unknown model. Today's log stops at the current second.
std::vector<DvrLogRecord> HistoryDayLog(std::uint64_t seed, int dvrTypeCode, const CivilDate& day,
                                        const RecorderNow& now);
