#include "core/servers/DottedQuad.h"
#include "core/servers/LanguageChoice.h"
#include "core/servers/RegistryBackup.h"
#include "core/servers/ScanRow.h"

#include <gtest/gtest.h>

namespace {

TEST(ScanRow, ShowsMacAddressPortAndTheModelNameOfTheTable)
{
    DiscoveryRecord record;
    record.dvrTypeCode = 5;
    record.port = 65535;
    record.ipAddress = {192, 168, 0, 7};
    record.macAddress = {0x00, 0x1a, 0x0B, 0xff, 0x10, 0x09};
    ModelNameTable names = DefaultModelNames();
    names[4] = "Lobby-4";  // the table's text, not the short code MDLE

    ScanRow row = FormatScanRow(record, names);
    EXPECT_EQ(row, (ScanRow{"00 1A 0B FF 10 09", "192.168.0.7", "Lobby-4", "65535"}));

    record.dvrTypeCode = 6;
    EXPECT_EQ(FormatScanRow(record, names).dvrType, "MODEL_F");
    for (std::uint8_t outside : {0, 7, 255}) {
        record.dvrTypeCode = outside;
        EXPECT_EQ(FormatScanRow(record, names).dvrType, "") << int(outside);
    }
}

TEST(DottedQuad, DdnsTextLoadsBackIntoTheAddressControl)
{
    EXPECT_EQ(ParseDottedQuad("10.0.0.1"), (DottedQuad{10, 0, 0, 1}));
    EXPECT_EQ(ParseDottedQuad("255.255.255.255"), (DottedQuad{255, 255, 255, 255}));
    EXPECT_EQ(FormatDottedQuad({203, 0, 113, 10}), "203.0.113.10");
    for (const char* bad : {"", "10.0.0", "10.0.0.1.", "10.0.0.256", "10..0.1", "a.b.c.d", "10.0.0.1 ", " 10.0.0.1",
                            "-1.0.0.1", "0010.0.0.1", "ddns.example.com"})
        EXPECT_FALSE(ParseDottedQuad(bad)) << bad;
}

TEST(LanguageChoice, StoredIndexSelectsItsRowAndOthersSelectNone)
{
    EXPECT_EQ(LanguageListRow(2), 2);
    EXPECT_EQ(LanguageListRow(3), -1);
    EXPECT_EQ(LanguageListRow(-1), -1);
}

TEST(RegistryBackup, ExportCommandNamesTheTimeStampedFileAndTheBranch)
{
    std::string path = BackupFilePath({2007, 1, 2, 3, 4, 5});
    EXPECT_EQ(path, "c:\\DVR_20070102_030405.reg");
    std::string command = "regedit";
    for (const auto& arg : ExportArguments(path))
        command += " " + arg;
    EXPECT_EQ(command, "regedit /e c:\\DVR_20070102_030405.reg HKEY_CURRENT_USER\\Software\\DVR");
    EXPECT_EQ(BackupFilePath({2026, 12, 31, 23, 59, 58}), "c:\\DVR_20261231_235958.reg");

    // A chosen path with blanks stays one argument.
    EXPECT_EQ(ImportArguments("/home/a b/My Backup.reg"), (std::vector<std::string>{"/u", "/home/a b/My Backup.reg"}));
}

} // namespace
