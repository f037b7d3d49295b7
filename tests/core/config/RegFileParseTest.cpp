#include "core/config/RegFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// Text as a Windows program writes it: BOM, then UTF-16LE (ASCII and BMP only).
std::vector<std::uint8_t> Utf16Le(const std::u16string& text)
{
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (char16_t c : text) {
        bytes.push_back(std::uint8_t(c & 0xFF));
        bytes.push_back(std::uint8_t(c >> 8));
    }
    return bytes;
}

std::vector<std::uint8_t> Utf16Be(const std::u16string& text)
{
    std::vector<std::uint8_t> bytes = {0xFE, 0xFF};
    for (char16_t c : text) {
        bytes.push_back(std::uint8_t(c >> 8));
        bytes.push_back(std::uint8_t(c & 0xFF));
    }
    return bytes;
}

std::vector<std::uint8_t> Text(const std::string& s)
{
    std::vector<std::uint8_t> data(s.begin(), s.end());
    data.push_back(0);
    return data;
}

std::string ParseError(const std::string& file)
{
    RegFileContents contents;
    std::string error;
    EXPECT_FALSE(CRegFile::Parse(Bytes(file), contents, error)) << file;
    return error;
}

TEST(RegFileParse, WindowsExportInUtf16LeReadsEveryForm)
{
    auto file = Utf16Le(u"Windows Registry Editor Version 5.00\r\n"
                        u"\r\n"
                        u"[HKEY_CURRENT_USER\\Software\\DVR]\r\n"
                        u"\"Language\"=hex:02,00,00,00\r\n"
                        u"\"Boot\"=dword:0000000a\r\n"
                        u"@=\"Caf\u00e9 \\\"quoted\\\" C:\\\\DVR\"\r\n"
                        u"\"Path\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,00,00\r\n"
                        u"\"Big\"=hex:01,02,03,04,05,06,07,08\r\n"
                        u"\r\n"
                        u"[HKEY_CURRENT_USER\\Software\\DVR\\ServerInfo\\\u5317\u4eac]\r\n"
                        u"\"IP\"=\"10.0.0.1\"\r\n"
                        u"\r\n");
    RegFileContents contents;
    std::string error;
    ASSERT_TRUE(CRegFile::Parse(file, contents, error)) << error;
    ASSERT_EQ(contents.sections.size(), 2u);
    const auto& dvr = contents.sections[0];
    EXPECT_EQ(dvr.key, (RegKeyPath{"Software", "DVR"}));
    ASSERT_EQ(dvr.values.size(), 5u);
    EXPECT_EQ(dvr.values[0].type, REG_BINARY);
    EXPECT_EQ(dvr.values[0].data, (std::vector<std::uint8_t>{2, 0, 0, 0}));
    EXPECT_EQ(dvr.values[1].type, REG_DWORD);
    EXPECT_EQ(dvr.values[1].data, (std::vector<std::uint8_t>{10, 0, 0, 0}));
    EXPECT_EQ(dvr.values[2].name, "");
    EXPECT_EQ(dvr.values[2].type, REG_SZ);
    EXPECT_EQ(dvr.values[2].data, Text("Caf\xC3\xA9 \"quoted\" C:\\DVR"));
    EXPECT_EQ(dvr.values[3].type, REG_EXPAND_SZ);
    EXPECT_EQ(dvr.values[3].data, Text("%TEMP%"));
    EXPECT_EQ(dvr.values[4].data.size(), 8u);
    EXPECT_EQ(contents.sections[1].key.back(), "\xE5\x8C\x97\xE4\xBA\xAC");
}

TEST(RegFileParse, ByteOrderAndEightBitEncodings)
{
    RegFileContents contents;
    std::string error;
    ASSERT_TRUE(CRegFile::Parse(Utf16Be(u"Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\A]\r\n\"n\"=\"\u00e9\"\r\n"),
                                contents, error))
        << error;
    EXPECT_EQ(contents.sections[0].values[0].data, Text("\xC3\xA9"));

    // REGEDIT4 with valid UTF-8 stays UTF-8.
    ASSERT_TRUE(CRegFile::Parse(Bytes("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"n\"=\"\xC3\xA9\"\n"), contents, error));
    EXPECT_EQ(contents.sections[0].values[0].data, Text("\xC3\xA9"));

    // Bytes that are not UTF-8 are Windows-1252: 0xE9 is e-acute, 0x80 the euro sign.
    ASSERT_TRUE(CRegFile::Parse(Bytes("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"n\"=\"\xE9\x80\"\r\n"), contents, error));
    EXPECT_EQ(contents.sections[0].values[0].data, Text("\xC3\xA9\xE2\x82\xAC"));

    // In REGEDIT4 files hex(2) holds 8-bit text, not UTF-16.
    ASSERT_TRUE(CRegFile::Parse(Bytes("REGEDIT4\n[HKCU\\A]\n\"p\"=hex(2):25,41,25,00\n"), contents, error));
    EXPECT_EQ(contents.sections[0].values[0].data, Text("%A%"));
}

TEST(RegFileParse, ContinuedHexListsDeletionsAndComments)
{
    std::string file = "Windows Registry Editor Version 5.00\r\n"
                       "; a comment\r\n"
                       "[HKEY_CURRENT_USER\\A]\r\n"
                       "\"list\"=hex:00,01,02,\\\r\n"
                       "  03,04,\\\r\n"
                       "  05\r\n"
                       "\"gone\"=-\r\n"
                       "\"empty\"=hex:\r\n"
                       "\"none\"=hex(0):ff\r\n"
                       "\"qword\" = hex(b):01,00,00,00,00,00,00,00\r\n"
                       "[-HKEY_CURRENT_USER\\B]\r\n"
                       "\"ignored\"=\"under a deleted key\"\r\n";
    RegFileContents contents;
    std::string error;
    ASSERT_TRUE(CRegFile::Parse(Bytes(file), contents, error)) << error;
    ASSERT_EQ(contents.sections.size(), 2u);
    const auto& values = contents.sections[0].values;
    ASSERT_EQ(values.size(), 5u);
    EXPECT_EQ(values[0].data, (std::vector<std::uint8_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(values[1].remove);
    EXPECT_TRUE(values[2].data.empty());
    EXPECT_EQ(values[3].type, REG_NONE);
    EXPECT_EQ(values[4].type, 0xBu);
    EXPECT_TRUE(contents.sections[1].remove);
    EXPECT_TRUE(contents.sections[1].values.empty());
}

TEST(RegFileParse, MalformedFilesNameTheLineAndTheFault)
{
    const std::string head = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\A]\r\n";
    EXPECT_EQ(ParseError(""), "line 1: empty file, expected \"Windows Registry Editor Version 5.00\"");
    EXPECT_NE(ParseError("\r\nREGEDIT5\r\n").find("line 2:"), std::string::npos);
    EXPECT_NE(ParseError("REGEDIT4\n\"x\"=\"y\"\n").find("line 2: value outside"), std::string::npos);
    const std::pair<const char*, const char*> cases[] = {
        {"\"x\"=dword:123456789\r\n", "line 3: dword:"},
        {"\"x\"=hex:00,1g\r\n", "line 3: bad byte \"1g\""},
        {"\"x\"=hex:00,\\\r\n  01,,02\r\n", "line 4: bad byte"},
        {"\"x\"=hex:00,\\\r\n", "line 3: hex list continued"},
        {"\"x=\"y\"\r\n", "line 3:"},
        {"\"x\"=\"y\" trailing\r\n", "line 3: text after the closing quote"},
        {"\"x\"=word:1\r\n", "line 3: value data"},
        {"\"x\"=hex(2):41,00,42\r\n", "line 3: odd number"},
        {"junk\r\n", "line 3:"},
        {"[HKEY_LOCAL_MACHINE\\Software]\r\n", "line 3: only keys under HKEY_CURRENT_USER"},
        {"[HKEY_CURRENT_USER\\A\\\\B]\r\n", "line 3: malformed key"},
        {"[HKEY_CURRENT_USER\\A\r\n", "line 3: key name without closing ]"},
        {"[-HKEY_CURRENT_USER]\r\n", "line 3: the root key"},
    };
    for (const auto& [line, fault] : cases)
        EXPECT_NE(ParseError(head + line).find(fault), std::string::npos) << line;
}

TEST(RegFileParse, KeyPathsFollowWindowsRules)
{
    RegKeyPath key;
    EXPECT_TRUE(SplitRegKeyPath("Software\\DVR\\", key));
    EXPECT_EQ(key, (RegKeyPath{"Software", "DVR"}));
    EXPECT_TRUE(SplitRegKeyPath("", key));
    EXPECT_TRUE(key.empty());
    EXPECT_FALSE(SplitRegKeyPath("\\Software", key));
    EXPECT_FALSE(SplitRegKeyPath("Software\\\\DVR", key));
    EXPECT_FALSE(SplitRegKeyPath("\\", key));
    EXPECT_TRUE(SplitRegKeyPath(std::string(255, 'k'), key));
    EXPECT_FALSE(SplitRegKeyPath(std::string(256, 'k'), key));

    std::string error;
    EXPECT_TRUE(CRegFile::ParseRootedKey("hkcu\\Software", key, error));
    EXPECT_EQ(key, RegKeyPath{"Software"});
    EXPECT_TRUE(CRegFile::ParseRootedKey("HKEY_CURRENT_USER", key, error));
    EXPECT_TRUE(key.empty());
    EXPECT_FALSE(CRegFile::ParseRootedKey("HKEY_USERS\\x", key, error));
    EXPECT_FALSE(CRegFile::ParseRootedKey("HKEY_CURRENT_USERS\\x", key, error));
}

} // namespace
