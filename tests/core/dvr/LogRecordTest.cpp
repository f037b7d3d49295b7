#include <gtest/gtest.h>

#include "core/dvr/LogEventText.h"
#include "core/dvr/LogRecord.h"

TEST(LogRecord, FieldsSitAtTheirOffsetsAndRoundTrip)
{
    DvrLogRecord record = MakeLogRecord(kLogSensorOn, 23, 59, 58, 7);
    record.reserved1[1] = 0xAA;
    record.reserved7 = 0xBB;
    record.reserved14[1] = 0xCC;
    const auto bytes = EncodeLogRecord(record);
    EXPECT_EQ(bytes[0], 21);
    EXPECT_EQ(bytes[2], 0xAA);
    EXPECT_EQ(bytes[4], 23);
    EXPECT_EQ(bytes[5], 59);
    EXPECT_EQ(bytes[6], 58);
    EXPECT_EQ(bytes[7], 0xBB);
    EXPECT_EQ(bytes[8], 7);
    EXPECT_EQ(bytes[15], 0xCC);
    const auto back = DecodeLogRecord(bytes.data(), bytes.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, record);
    EXPECT_FALSE(DecodeLogRecord(bytes.data(), 15));
    EXPECT_FALSE(DecodeLogRecord(nullptr, 16));

    const auto lan = EncodeLogRecord(MakeLanLogRecord(1, 2, 3, {192, 168, 0, 7}));
    EXPECT_EQ(std::vector<std::uint8_t>(lan.begin() + 10, lan.begin() + 14),
              (std::vector<std::uint8_t>{192, 168, 0, 7}));
    const auto time = EncodeLogRecord(MakeSetTimeLogRecord(4, 5, 6, 2007, 3, 9, 10, 11, 12));
    EXPECT_EQ(std::vector<std::uint8_t>(time.begin() + 8, time.begin() + 14),
              (std::vector<std::uint8_t>{7, 3, 9, 10, 11, 12}));
}

TEST(LogFile, IsWholeRecordsInOrderAndIgnoresAShortTail)
{
    const std::vector<DvrLogRecord> records = {MakeLogRecord(kLogPowerOn, 0, 0, 1),
                                               MakeLogRecord(kLogCameraOff, 12, 0, 0, 3)};
    std::vector<std::uint8_t> bytes = EncodeLogFile(records);
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_EQ(DecodeLogFile(bytes.data(), bytes.size()), records);
    bytes.resize(47);
    EXPECT_EQ(DecodeLogFile(bytes.data(), bytes.size()), records);
    EXPECT_TRUE(DecodeLogFile(bytes.data(), 15).empty());
    EXPECT_TRUE(DecodeLogFile(nullptr, 32).empty());
}

TEST(LogEventText, TextsTakeTheirParametersAndCodesFallIntoTheFilterGroups)
{
    const struct {
        DvrLogRecord record;
        const char* text;
    } cases[] = {
        {MakeLogRecord(kLogSensorOn, 0, 0, 0, 2), "Sensor On No:3"},
        {MakeLogRecord(kLogSensorOutOff, 0, 0, 0, 4), "Sensor Out Off Cam No:5"},
        {MakeLogRecord(kLogCameraOff, 0, 0, 0, 11), "Camera Off No: 12"},
        {MakeLanLogRecord(0, 0, 0, {192, 168, 0, 7}), "LAN 192.168.0.7"},
        {MakeSetTimeLogRecord(0, 0, 0, 2007, 3, 9, 8, 5, 0), "Old Date:7-3-9 Old Time:08:05:00"},
        {MakeLogRecord(0, 0, 0, 0), "Nothing"},
        {MakeLogRecord(255, 0, 0, 0), "Nothing"},
        // Extreme parameters still fit the text.
        {MakeLogRecord(kLogSensorOn, 0, 0, 0, 255), "Sensor On No:256"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LogRecordDescription(c.record), c.text);
    DvrLogRecord worst = MakeLogRecord(kLogSetTime, 0, 0, 0, 255);
    std::fill(std::begin(worst.param), std::end(worst.param), 255);
    EXPECT_EQ(LogRecordDescription(worst), "Old Date:255-255-255 Old Time:255:255:255");
    EXPECT_EQ(LogRecordDateTimeText({2007, 3, 9}, MakeLogRecord(kLogPowerOn, 14, 5, 9)), "2007-03-09     14:05:09");

    EXPECT_EQ(LogEventGroup(kLogSetupExit), LogFilterGroup::Setup);
    // "Set Save" and unknown codes are listed under ALL only.
    EXPECT_FALSE(LogEventGroup(kLogSetSave));
    EXPECT_FALSE(LogEventGroup(99));
    EXPECT_TRUE(LogRecordInGroup(kLogSetSave, LogFilterGroup::All));
    EXPECT_FALSE(LogRecordInGroup(kLogSetSave, LogFilterGroup::Setup));
    EXPECT_FALSE(LogRecordInGroup(kLogSensorOn, LogFilterGroup::SensorOut));
}

TEST(LogEventText, EntriesOfALogFileCarryTheirTextsAndTheLogsDate)
{
    const std::vector<DvrLogRecord> records = {MakeLogRecord(kLogRecordStart, 7, 8, 9),
                                               MakeLanLogRecord(23, 59, 59, {10, 0, 0, 1})};
    std::vector<std::uint8_t> bytes = EncodeLogFile(records);
    bytes.push_back(kLogPowerOff); // a cut-off third record
    const std::vector<LogEntry> entries = DecodeLogEntries(bytes.data(), bytes.size(), {2007, 3, 9});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (LogEntry{31, "Record Start", "2007-03-09     07:08:09", 7, 8, 9}));
    EXPECT_EQ(entries[1], (LogEntry{51, "LAN 10.0.0.1", "2007-03-09     23:59:59", 23, 59, 59}));
    EXPECT_TRUE(DecodeLogEntries(bytes.data(), 0, {2007, 3, 9}).empty());
}

TEST(LogFileNames, NameAndDateRoundTripAndBadNamesAreRefused)
{
    EXPECT_EQ(LogFileName("Shop", {2007, 3, 9}), "LOG_Shop_2007_03_09.log");
    EXPECT_EQ(LogFileNameDate("LOG_Shop_2007_03_09.log"), (CivilDate{2007, 3, 9}));
    EXPECT_EQ(LogFileNameDate("/home/u/DVR/Remote/LogFile/LOG_a_b_2024_02_29.LOG"), (CivilDate{2024, 2, 29}));
    EXPECT_EQ(LogFileNameDate("2007_03_09.log"), (CivilDate{2007, 3, 9}));
    for (const char* bad : {"007_03_09.log", "LOG_x_2023_02_29.log", "LOG_x_2007_13_01.log", "LOG_x_2007_00_01.log",
                            "LOG_x_2007-03-09.log", "LOG_x_2007_03_09.txt", "LOG_x_20a7_03_09.log", ""})
        EXPECT_FALSE(LogFileNameDate(bad)) << bad;
}
