#include "core/status/LogFilePaths.h"

#include "core/app/EventLogFormat.h"
#include "core/dvr/LogEventText.h"

std::string DownloadedLogPath(std::string_view serverName, const CivilDate& date)
{
    return "c:\\DVR\\Remote\\LogFile\\" + LogFileName(FileNameSafe(std::string(serverName)), date);
}

OpenedLogDate DateOfOpenedLog(std::string_view fileName, const CivilDate& modified)
{
    if (const auto named = LogFileNameDate(fileName))
        return {*named, true};
    return {modified, false};
}
