#pragma once

#include <string>
#include <vector>

// Saving and restoring the program's registry branch through the registry
// editor (dvr-regedit /e FILE KEY, dvr-regedit /u FILE).

inline constexpr const char* kBackedUpBranch = "HKEY_CURRENT_USER\\Software\\DVR";

struct LocalTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// "c:\DVR_20070102_030405.reg": the backup of 2 January 2007, 03:04:05.
std::string BackupFilePath(const LocalTime& time);
// The editor's arguments, each a whole argument: a path with blanks in it
// stays one path.
std::vector<std::string> ExportArguments(const std::string& path);
std::vector<std::string> ImportArguments(const std::string& path);
