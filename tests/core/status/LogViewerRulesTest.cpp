#include "core/status/LogEntriesCsv.h"
#include "core/status/LogFilePaths.h"
#include "core/status/LogFilterButtons.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using G = LogFilterGroup;

TEST(LogViewerRules, EveryEventCodeHasItsTextAndItsButton)
{
    const struct {
        DvrLogRecord record;
        const char* text;
        std::optional<G> group;
    } cases[] = {
        {MakeLogRecord(11, 0, 0, 0), "Power On", G::Power},
        {MakeLogRecord(12, 0, 0, 0), "Power Off", G::Power},
        {MakeLogRecord(21, 0, 0, 0, 0), "Sensor On No:1", G::Sensor},
        {MakeLogRecord(22, 0, 0, 0, 7), "Sensor Off No:8", G::Sensor},
        {MakeLogRecord(23, 0, 0, 0, 2), "Sensor Out On Cam No:3", G::SensorOut},
        {MakeLogRecord(24, 0, 0, 0, 15), "Sensor Out Off Cam No:16", G::SensorOut},
        {MakeLogRecord(31, 0, 0, 0), "Record Start", G::Record},
        {MakeLogRecord(32, 0, 0, 0), "Record Stop", G::Record},
        {MakeLogRecord(41, 0, 0, 0, 0), "Camera On No: 01", G::Camera},
        {MakeLogRecord(42, 0, 0, 0, 9), "Camera Off No: 10", G::Camera},
        {MakeLanLogRecord(0, 0, 0, {192, 168, 0, 7}), "LAN 192.168.0.7", G::Lan},
        {MakeLanLogRecord(0, 0, 0, {255, 0, 10, 1}), "LAN 255.0.10.1", G::Lan},
        {MakeLogRecord(61, 0, 0, 0), "Backup", G::Backup},
        {MakeLogRecord(71, 0, 0, 0), "Setup", G::Setup},
        {MakeLogRecord(72, 0, 0, 0), "Set Save", std::nullopt},
        {MakeLogRecord(73, 0, 0, 0), "Setup Exit", G::Setup},
        // The old date as the record keeps it: the year is one byte.
        {MakeSetTimeLogRecord(0, 0, 0, 2026, 12, 31, 23, 9, 5), "Old Date:26-12-31 Old Time:23:09:05", G::SetTime},
        {MakeLogRecord(13, 0, 0, 0), "Nothing", std::nullopt},
        {MakeLogRecord(52, 0, 0, 0), "Nothing", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LogRecordDescription(c.record), c.text);
        EXPECT_EQ(LogEventGroup(c.record.eventCode), c.group) << c.text;
        EXPECT_TRUE(LogRecordInGroup(c.record.eventCode, G::All)) << c.text;
    }
}

TEST(LogViewerRules, FilterClicksCheckOneButtonOrAllAndListTheirGroup)
{
    LogFilterOutcome setup = ClickLogFilter(G::Setup, true);
    EXPECT_EQ(setup.listed, G::Setup);
    EXPECT_EQ(std::count(setup.checked.begin(), setup.checked.end(), true), 1);
    EXPECT_TRUE(setup.checked[static_cast<std::size_t>(G::Setup)]);

    LogFilterOutcome all = ClickLogFilter(G::All, true);
    EXPECT_EQ(all.listed, G::All);
    EXPECT_EQ(std::count(all.checked.begin(), all.checked.end(), true), kLogFilterButtonCount);

    // A button clicked off leaves every button off and the list empty.
    EXPECT_EQ(ClickLogFilter(G::All, false), LogFilterOutcome{});
    EXPECT_EQ(ClickLogFilter(G::Power, false), LogFilterOutcome{});

    const std::vector<DvrLogRecord> records = {MakeLogRecord(71, 1, 0, 0), MakeLogRecord(72, 2, 0, 0),
                                               MakeLogRecord(73, 3, 0, 0), MakeLogRecord(99, 4, 0, 0),
                                               MakeLogRecord(11, 5, 0, 0)};
    const auto bytes = EncodeLogFile(records);
    const auto entries = DecodeLogEntries(bytes.data(), bytes.size(), {2026, 1, 2});
    EXPECT_EQ(EntriesInGroup(entries, G::Setup), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(EntriesInGroup(entries, G::All), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(EntriesInGroup(entries, G::Power), (std::vector<std::size_t>{4}));
    EXPECT_TRUE(EntriesInGroup(entries, G::SensorOut).empty());
}

TEST(LogViewerRules, OnlyWholeRecordsBecomeEntries)
{
    std::vector<std::uint8_t> bytes(33, 0);
    bytes[0] = 11;
    bytes[16] = 12;
    bytes[32] = 31;
    EXPECT_EQ(DecodeLogEntries(bytes.data(), 32, {2007, 3, 9}).size(), 2u);
    const auto entries = DecodeLogEntries(bytes.data(), 33, {2007, 3, 9});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].description, "Power Off");
    EXPECT_TRUE(DecodeLogEntries(bytes.data(), 15, {2007, 3, 9}).empty());
}

TEST(LogViewerRules, DownloadedLogNamesStayInTheLogFolder)
{
    EXPECT_EQ(DownloadedLogPath("Shop", {2007, 3, 9}), "c:\\DVR\\Remote\\LogFile\\LOG_Shop_2007_03_09.log");
    EXPECT_EQ(DownloadedLogPath("../../etc/x", {2026, 12, 1}),
              "c:\\DVR\\Remote\\LogFile\\LOG_..-..-etc-x_2026_12_01.log");
    EXPECT_EQ(DownloadedLogPath("a\\b:c*?\"<>|\t", {2026, 12, 1}),
              "c:\\DVR\\Remote\\LogFile\\LOG_a-b-c-------_2026_12_01.log");
}

TEST(LogViewerRules, AnOpenedLogIsDatedByItsNameOrElseByItsFile)
{
    const CivilDate modified{2026, 12, 7};
    const OpenedLogDate named = DateOfOpenedLog("/x/LOG_Shop_2007_03_09.log", modified);
    EXPECT_EQ(named.date, (CivilDate{2007, 3, 9}));
    EXPECT_TRUE(named.fromName);
    for (const char* name : {"events.log", "LOG_Shop_2007_13_09.log", "LOG_x_2007-03-09.log", "abcd_ef_gh.log", ""}) {
        const OpenedLogDate fallback = DateOfOpenedLog(name, modified);
        EXPECT_EQ(fallback.date, modified) << name;
        EXPECT_FALSE(fallback.fromName) << name;
    }
}

TEST(LogViewerRules, CsvQuotesWhatNeedsIt)
{
    const LogEntry plain{11, "Power On", "2026-12-07     08:00:01", 8, 0, 1};
    const LogEntry awkward{0, "say \"hi\", then\nleave", "d", 0, 0, 0};
    const std::vector<const LogEntry*> rows = {&plain, &awkward};
    EXPECT_EQ(LogEntriesCsv(rows), "Date & Time,Description\r\n"
                                   "2026-12-07     08:00:01,Power On\r\n"
                                   "d,\"say \"\"hi\"\", then\nleave\"\r\n");
    EXPECT_EQ(LogEntriesCsv({}), "Date & Time,Description\r\n");
}

} // namespace
