#include "platform/app/DrivePaths.h"
#include "platform/app/EventLogWriter.h"
#include "platform/app/LocaleClock.h"
#include "support/TempDir.h"
#include "support/CivilTime.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(EventLogWriter, LocaleWithSlashedDatesStillWritesOneFilePerDayAndAppends)
{
    TempDir drive;
    ScopedEnv driveC("DVR_DRIVE_C", drive.path());
    LocaleClock clock("C"); // short date "%m/%d/%y"
    ASSERT_NE(clock.ShortDate(LocalTimeAt(2026, 12, 6, 9, 0, 0)).find('/'), std::string::npos);

    ASSERT_TRUE(AppendEventLog("Log on as Administrator", LocalTimeAt(2026, 12, 6, 9, 15, 2), clock));
    ASSERT_TRUE(AppendEventLog("Log on as Administrator", LocalTimeAt(2026, 12, 6, 17, 0, 0), clock));

    // A new day starts a new file.
    ASSERT_TRUE(AppendEventLog("after", LocalTimeAt(2026, 12, 7, 0, 0, 1), clock));

    EXPECT_EQ(readFile(drive / "DVR/Log/12-06-26.log"),
              "09:15:02 ::Log on as Administrator\r\n17:00:00 ::Log on as Administrator\r\n");
    EXPECT_EQ(readFile(drive / "DVR/Log/12-07-26.log"), "00:00:01 ::after\r\n");
}

TEST(EventLogWriter, UnwritableLogFolderReportsFailure)
{
    TempDir drive;
    ScopedEnv driveC("DVR_DRIVE_C", drive.path());
    drive::CreateFolder("C:\\DVR");
    std::ofstream(drive / "DVR/Log") << "a file where the folder should be";
    EXPECT_FALSE(AppendEventLog("Log on as Administrator", std::time(nullptr), LocaleClock("C")));
}

TEST(DrivePaths, FixedFoldersKeepOneSpellingAndProgramFolderIsTheInstallFolder)
{
    ScopedEnv driveC("DVR_DRIVE_C", "/data/c");
    EXPECT_EQ(drive::MapWindowsPath("c:\\DVR\\Live\\capture"), "/data/c/DVR/Live/Capture");
    EXPECT_EQ(drive::MapWindowsPath("C:\\dvr\\remote\\LOGFILE\\LOG_x.log"), "/data/c/DVR/Remote/LogFile/LOG_x.log");
    EXPECT_EQ(drive::MapWindowsPath("c:\\daily.pro"), "/data/c/daily.pro");
    EXPECT_EQ(drive::MapWindowsPath("C:\\Program Files\\DVR"), drive::InstallFolder());
    EXPECT_EQ(drive::MapWindowsPath("C:\\Program Files\\DVR\\ResEn.dll"), drive::InstallFolder() + "/ResEn.dll");
}
