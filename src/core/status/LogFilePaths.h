#pragma once

#include "core/dvr/CivilDate.h"

#include <string>
#include <string_view>

// Where a downloaded log goes: "c:\DVR\Remote\LogFile\LOG_<server>_YYYY_MM_DD.log".
// Characters of the server's name that cannot stand in a file name ("/",
// ":" and the like) become "-", so a name never points elsewhere or fails.
std::string DownloadedLogPath(std::string_view serverName, const CivilDate& date);

// The daily recording profile, written and never read back.
inline constexpr const char* kDailyProfilePath = "c:\\daily.pro";

// The day an opened log file belongs to: the date its name ends in
// ("..._YYYY_MM_DD.log"); otherwise the file's modification date, and the
// status line says so.
struct OpenedLogDate {
    CivilDate date;
    bool fromName = true;
};
OpenedLogDate DateOfOpenedLog(std::string_view fileName, const CivilDate& modified);
