#include "core/config/RegFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The UTF-16LE body of a formatted file, narrowed (the tests use ASCII only).
std::string Narrow(const std::vector<std::uint8_t>& bytes)
{
    EXPECT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        EXPECT_EQ(bytes[i + 1], 0) << "not ASCII at " << i;
        text += char(bytes[i]);
    }
    return text;
}

RegFileValue Value(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data)
{
    RegFileValue value;
    value.name = name;
    value.type = type;
    value.data = std::move(data);
    return value;
}

std::vector<std::uint8_t> Text(const std::string& s)
{
    std::vector<std::uint8_t> data(s.begin(), s.end());
    data.push_back(0);
    return data;
}

TEST(RegFileFormat, WritesRegeditLayout)
{
    RegFileContents contents;
    RegFileSection dvr;
    dvr.key = {"Software", "DVR"};
    dvr.values.push_back(Value("", REG_SZ, Text("a\\b\"c")));
    dvr.values.push_back(Value("Language", REG_BINARY, {1, 0, 0, 0}));
    dvr.values.push_back(Value("Count", REG_DWORD, {0x0a, 0x00, 0x01, 0xff}));
    dvr.values.push_back(Value("Path", REG_EXPAND_SZ, Text("%A%")));
    dvr.values.push_back(Value("Odd", 0x10, {0xab}));
    RegFileSection gone;
    gone.key = {"Old"};
    gone.remove = true;
    contents.sections = {dvr, gone};

    EXPECT_EQ(Narrow(CRegFile::Format(contents)),
              "Windows Registry Editor Version 5.00\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\DVR]\r\n"
              "@=\"a\\\\b\\\"c\"\r\n"
              "\"Language\"=hex:01,00,00,00\r\n"
              "\"Count\"=dword:ff01000a\r\n"
              "\"Path\"=hex(2):25,00,41,00,25,00,00,00\r\n"
              "\"Odd\"=hex(10):ab\r\n"
              "\r\n"
              "[-HKEY_CURRENT_USER\\Old]\r\n"
              "\r\n");
}

TEST(RegFileFormat, LongHexListsBreakBeforeColumn80)
{
    RegFileContents contents;
    RegFileSection section;
    section.key = {"K"};
    section.values.push_back(Value("Foo", REG_BINARY, std::vector<std::uint8_t>(60, 0x11)));
    contents.sections = {section};
    std::string text = Narrow(CRegFile::Format(contents));
    // "Foo"=hex: plus 22 bytes reaches column 76 and breaks; following lines
    // are indented by two and carry 25 bytes.
    std::string expected = "\"Foo\"=hex:";
    for (int i = 0; i < 22; ++i)
        expected += "11,";
    expected += "\\\r\n  ";
    for (int i = 0; i < 25; ++i)
        expected += "11,";
    expected += "\\\r\n  ";
    for (int i = 0; i < 13; ++i)
        expected += i < 12 ? "11," : "11";
    EXPECT_NE(text.find(expected + "\r\n"), std::string::npos) << text;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        EXPECT_LE(end - start, 80u);
        start = end + 2;
    }
}

TEST(RegFileFormat, EveryStoredValueSurvivesFormatAndParse)
{
    RegFileContents contents;
    RegFileSection section;
    section.key = {"Software", "DVR", "ServerInfo", "Caf\xC3\xA9 \xF0\x9F\x93\xB7"};
    section.values.push_back(Value("plain", REG_SZ, Text("192.168.0.10")));
    section.values.push_back(Value("latin1 bytes", REG_SZ, Text("caf\xE9")));       // not UTF-8
    section.values.push_back(Value("lines", REG_SZ, Text("one\r\ntwo")));             // needs hex(1)
    section.values.push_back(Value("no zero", REG_SZ, {'a', 'b'}));
    section.values.push_back(Value("inner zero", REG_SZ, {'a', 0, 'b', 0}));
    section.values.push_back(Value("empty", REG_SZ, {}));
    section.values.push_back(Value("expand bad", REG_EXPAND_SZ, {'%', 0xFF, '%', 0}));
    section.values.push_back(Value("multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}));
    section.values.push_back(Value("short dword", REG_DWORD, {1, 2}));
    section.values.push_back(Value("big", REG_BINARY, std::vector<std::uint8_t>(300, 0x7f)));
    section.values.push_back(Value("q\"uo\\te", REG_NONE, {}));
    contents.sections = {section};

    RegFileContents parsed;
    std::string error;
    ASSERT_TRUE(CRegFile::Parse(CRegFile::Format(contents), parsed, error)) << error;
    ASSERT_EQ(parsed.sections.size(), 1u);
    EXPECT_EQ(parsed.sections[0].key, section.key);
    ASSERT_EQ(parsed.sections[0].values.size(), section.values.size());
    for (std::size_t i = 0; i < section.values.size(); ++i) {
        const auto& in = section.values[i];
        const auto& out = parsed.sections[0].values[i];
        EXPECT_EQ(out.name, in.name);
        EXPECT_EQ(out.type, in.type) << in.name;
        EXPECT_EQ(out.data, in.data) << in.name;
    }
}

TEST(RegConfigWithoutStore, EveryOperationFailsToDefaults)
{
    SetRegistryBackend(nullptr);
    CRegConfig config;
    EXPECT_FALSE(config.SetKey("Software\\DVR\\", true));
    EXPECT_FALSE(config.SetKey("Software\\DVR\\", false));
    EXPECT_NE(config.GetLastError(), 0);
    EXPECT_TRUE(config.SetKey("", false));
    EXPECT_EQ(config.ReadInt("Language", 7), 7);
    EXPECT_EQ(config.ReadString("IP", "none"), "none");
    EXPECT_FALSE(config.WriteInt("Language", 1));
    EXPECT_FALSE(config.WriteString("IP", "x"));
    EXPECT_FALSE(config.ValueExists("Language"));
    EXPECT_EQ(config.GetDataType("Language"), REG_NONE);
    EXPECT_FALSE(config.KeyExists("Software"));
    EXPECT_FALSE(config.DeleteKey("Software"));
    EXPECT_EQ(config.GetSubKeyCount("Software"), -1);
    std::vector<std::string> names = {"stale"};
    EXPECT_EQ(config.EnumSubKeyNames("Software", names), 0);
    EXPECT_TRUE(names.empty());
}

} // namespace
