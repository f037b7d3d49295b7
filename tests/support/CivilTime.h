#pragma once

#include <ctime>

// Broken-down and local times for tests that inject a clock.
inline std::tm CivilTm(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return t;
}

inline std::time_t LocalTimeAt(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t = CivilTm(year, month, day, hour, minute, second);
    return std::mktime(&t);
}
