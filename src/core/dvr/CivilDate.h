#pragma once

#include <compare>

// A calendar day of the proleptic Gregorian calendar.
struct CivilDate {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..DaysInMonth

    auto operator<=>(const CivilDate&) const = default;
};

bool IsLeapYear(int year);
// 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
bool IsValidDate(const CivilDate& date);
// Days since 1970-01-01 (negative before it).
long long DaysFromCivil(const CivilDate& date);
CivilDate CivilFromDays(long long days);
// 0 = Sunday .. 6 = Saturday.
int DayOfWeek(const CivilDate& date);
