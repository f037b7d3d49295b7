#include "core/app/EventLogFormat.h"
#include "core/app/StartupSettings.h"

#include <gtest/gtest.h>

TEST(EventLogFormat, LinesEndWithCrLfAndDateTextBecomesAValidFileName)
{
    EXPECT_EQ(EventLogLine("10:04:59 AM", "Log on as Administrator"), "10:04:59 AM ::Log on as Administrator\r\n");
    EXPECT_EQ(EventLogPath("12/06/26"), "C:\\DVR\\Log\\12-06-26.log");
    EXPECT_EQ(EventLogPath("2026-12-06"), "C:\\DVR\\Log\\2026-12-06.log");
    EXPECT_EQ(FileNameSafe("a\\b:c*d?e\"f<g>h|i\tj"), "a-b-c-d-e-f-g-h-i-j");
    // Text in other scripts is kept as it is.
    EXPECT_EQ(FileNameSafe("2026年12月6日"), "2026年12月6日");
}

TEST(EventLogFormat, PathThatWouldOverflowTheBufferIsRefused)
{
    EXPECT_FALSE(EventLogPath(std::string(300, '1')).has_value());
    std::string longest(255 - std::string("C:\\DVR\\Log\\.log").size(), '1');
    EXPECT_TRUE(EventLogPath(longest).has_value());
    EXPECT_FALSE(EventLogPath(longest + "1").has_value());
}

TEST(StartupSettings, LanguageIndexChoosesPackAndUnknownIndexFallsBackToEnglish)
{
    EXPECT_EQ(LanguagePackFileName(2), "ResJp.dll");
    EXPECT_EQ(LanguagePackFileName(7), "ResEn.dll");
    EXPECT_EQ(LanguagePackFileName(-1), "ResEn.dll");
}
