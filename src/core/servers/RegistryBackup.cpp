#include "core/servers/RegistryBackup.h"

#include <cstdio>

std::string BackupFilePath(const LocalTime& time)
{
    char name[96];
    std::snprintf(name, sizeof name, "%d%02d%02d_%02d%02d%02d.reg", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    return std::string("c:\\DVR_") + name;
}

std::vector<std::string> ExportArguments(const std::string& path)
{
    return {"/e", path, kBackedUpBranch};
}

std::vector<std::string> ImportArguments(const std::string& path)
{
    return {"/u", path};
}
