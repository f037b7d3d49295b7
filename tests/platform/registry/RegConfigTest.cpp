#include "core/config/RegConfig.h"

#include "TempRegistry.h"

#include <gtest/gtest.h>

namespace {

using RegConfigTest = TempRegistryTest;

std::vector<std::uint8_t> Raw(RegistryBackend& store, const RegKeyPath& key, const std::string& name,
                              std::uint32_t& type)
{
    RegValue value;
    EXPECT_EQ(store.QueryValue(key, name, value), regerr::Success);
    type = value.type;
    return value.data;
}

TEST_F(RegConfigTest, FirstStartTreeHoldsFourByteBinaryIntegers)
{
    CRegConfig config;
    EXPECT_FALSE(config.SetKey("Software\\DVR\\", false));
    EXPECT_EQ(config.GetLastError(), regerr::FileNotFound);
    EXPECT_EQ(config.CurrentPath(), "");
    ASSERT_TRUE(config.SetKey("Software\\DVR\\", true));
    EXPECT_EQ(config.CurrentPath(), "Software\\DVR\\");
    EXPECT_FALSE(config.ValueExists("Language"));
    EXPECT_TRUE(config.WriteInt("Language", 0));
    EXPECT_TRUE(config.WriteInt("Boot", -2));

    std::uint32_t type = 0;
    EXPECT_EQ(Raw(*m_store, {"Software", "DVR"}, "Language", type), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(Raw(*m_store, {"Software", "DVR"}, "Boot", type),
              (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));

    CRegConfig later;
    ASSERT_TRUE(later.SetKey("Software\\DVR\\", false));
    EXPECT_EQ(later.GetLastError(), regerr::Success);
    EXPECT_TRUE(later.ValueExists("language"));
    EXPECT_EQ(later.ReadInt("Boot", 5), -2);
    EXPECT_EQ(later.GetDataType("Boot"), REG_BINARY);
}

TEST_F(RegConfigTest, IntegersReadOnlyFromExactlyFourBytesOfAnyType)
{
    ASSERT_EQ(m_store->CreateKey({"K"}), regerr::Success);
    m_store->SetValue({"K"}, "dword", REG_DWORD, {0x10, 0x27, 0, 0});
    m_store->SetValue({"K"}, "eight", REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0});
    m_store->SetValue({"K"}, "two", REG_BINARY, {1, 0});
    m_store->SetValue({"K"}, "text4", REG_SZ, {'a', 'b', 'c', 0});
    CRegConfig config;
    ASSERT_TRUE(config.SetKey("K", false));
    EXPECT_EQ(config.ReadInt("dword", -1), 10000);
    EXPECT_EQ(config.ReadInt("eight", -1), -1);
    EXPECT_EQ(config.ReadInt("two", -1), -1);
    EXPECT_EQ(config.ReadInt("text4", -1), 0x00636261);
    EXPECT_EQ(config.ReadInt("missing", 42), 42);
    EXPECT_EQ(config.GetDataType("missing"), REG_NONE);
    EXPECT_EQ(config.GetLastError(), regerr::FileNotFound);
}

TEST_F(RegConfigTest, TextsUpTo254BytesOfStringTypesOnly)
{
    CRegConfig config;
    ASSERT_TRUE(config.SetKey("Software\\DVR\\ServerInfo\\Shop\\", true));
    std::string longest(254, 'x');
    EXPECT_TRUE(config.WriteString("IP", longest));
    EXPECT_EQ(config.ReadString("IP", "d"), longest);
    EXPECT_FALSE(config.WriteString("IP", std::string(255, 'y')));
    EXPECT_EQ(config.ReadString("IP", "d"), longest);
    EXPECT_TRUE(config.WriteString("Pass", ""));
    EXPECT_EQ(config.ReadString("Pass", "d"), "");
    EXPECT_EQ(config.GetDataType("Pass"), REG_SZ);

    RegKeyPath key = {"Software", "DVR", "ServerInfo", "Shop"};
    m_store->SetValue(key, "Expand", REG_EXPAND_SZ, {'%', 'T', 'E', 'M', 'P', '%', 0});
    m_store->SetValue(key, "Binary", REG_BINARY, {'a', 'b', 0});
    m_store->SetValue(key, "Dword", REG_DWORD, {'a', 'b', 'c', 0});
    std::vector<std::uint8_t> tooLong(255, 'z');
    tooLong.push_back(0);
    m_store->SetValue(key, "TooLong", REG_SZ, tooLong);
    m_store->SetValue(key, "NoZero", REG_SZ, std::vector<std::uint8_t>(255, 'w'));
    m_store->SetValue(key, "Unterminated", REG_SZ, {'o', 'k'});
    EXPECT_EQ(config.ReadString("Expand", "d"), "%TEMP%");
    EXPECT_EQ(config.ReadString("Binary", "d"), "d");
    EXPECT_EQ(config.ReadString("Dword", "d"), "d");
    EXPECT_EQ(config.ReadString("TooLong", "d"), "d");
    EXPECT_EQ(config.ReadString("NoZero", "d"), "d");
    EXPECT_EQ(config.ReadString("Unterminated", "d"), "ok");
    EXPECT_EQ(config.ReadString("Missing", "d"), "d");
}

TEST_F(RegConfigTest, NamesIgnoreCaseAndKeepTheirSpelling)
{
    CRegConfig config;
    ASSERT_TRUE(config.SetKey("Software\\DVR\\ServerInfo\\Caf\xC3\xA9 Main\\", true));
    EXPECT_TRUE(config.WriteString("DVR Type", "MODEL_A"));
    EXPECT_TRUE(config.KeyExists("SOFTWARE\\dvr\\serverinfo\\CAF\xC3\x89 MAIN"));
    ASSERT_TRUE(config.SetKey("software\\DVR\\SERVERINFO\\caf\xC3\xA9 main", true));
    EXPECT_EQ(config.ReadString("dvr type", ""), "MODEL_A");
    EXPECT_TRUE(config.WriteString("DVR TYPE", "MODEL_B"));

    std::vector<RegValue> values;
    ASSERT_EQ(m_store->EnumValues({"Software", "DVR", "ServerInfo", "Caf\xC3\xA9 Main"}, values), regerr::Success);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].name, "DVR Type");
    EXPECT_EQ(values[0].data, (std::vector<std::uint8_t>{'M', 'O', 'D', 'E', 'L', '_', 'B', 0}));
    std::vector<std::string> names;
    EXPECT_EQ(config.EnumSubKeyNames("Software\\DVR\\ServerInfo\\", names), 1);
    EXPECT_EQ(names, std::vector<std::string>{"Caf\xC3\xA9 Main"});
}

TEST_F(RegConfigTest, SubkeysCountAndEnumerateInCaseInsensitiveOrder)
{
    CRegConfig config;
    EXPECT_EQ(config.GetSubKeyCount("Software\\DVR\\ServerInfo\\"), -1);
    std::vector<std::string> names = {"stale"};
    EXPECT_EQ(config.EnumSubKeyNames("Software\\DVR\\ServerInfo\\", names), 0);
    EXPECT_TRUE(names.empty());
    for (const char* name : {"beta", "Alpha", "_under", "gamma", "Beta2", "10", "9"})
        ASSERT_TRUE(config.SetKey(std::string("Software\\DVR\\ServerInfo\\") + name, true));
    ASSERT_TRUE(config.SetKey("Software\\DVR\\ServerInfo\\beta\\deeper", true));
    EXPECT_EQ(config.GetSubKeyCount("Software\\DVR\\ServerInfo\\"), 7);
    EXPECT_EQ(config.EnumSubKeyNames("Software\\DVR\\ServerInfo\\", names), 7);
    // Upper-case comparison puts '_' (0x5F) after the letters, as Windows does.
    EXPECT_EQ(names, (std::vector<std::string>{"10", "9", "Alpha", "beta", "Beta2", "gamma", "_under"}));
}

TEST_F(RegConfigTest, DeleteKeyRefusesKeysWithSubkeysAndLaterWritesToADeletedKeyFail)
{
    CRegConfig config;
    CRegConfig holder;
    ASSERT_TRUE(holder.SetKey("Software\\DVR\\ServerInfo\\Gone\\", true));
    ASSERT_TRUE(config.DeleteKey("Software\\DVR\\ServerInfo\\Gone\\"));
    EXPECT_FALSE(holder.WriteInt("Port", 1));
    EXPECT_FALSE(holder.WriteString("IP", "x"));
    EXPECT_FALSE(config.KeyExists("Software\\DVR\\ServerInfo\\Gone"));
    EXPECT_TRUE(config.DeleteKey("Software\\DVR\\ServerInfo\\Nobody"));
    ASSERT_TRUE(config.SetKey("Software\\DVR\\ServerInfo\\Shop\\Extra", true));
    EXPECT_FALSE(config.DeleteKey("Software\\DVR\\ServerInfo\\Shop"));
    EXPECT_TRUE(config.KeyExists("Software\\DVR\\ServerInfo\\Shop\\Extra"));
    EXPECT_TRUE(config.DeleteKey("Software\\DVR\\ServerInfo\\Shop\\Extra\\"));
    ASSERT_TRUE(config.SetKey("Software\\DVR\\ServerInfo\\Shop", false));
    EXPECT_TRUE(config.WriteString("IP", "1.2.3.4"));
    EXPECT_TRUE(config.DeleteKey("Software\\DVR\\ServerInfo\\Shop"));
    EXPECT_FALSE(config.KeyExists("Software\\DVR\\ServerInfo\\Shop"));
    EXPECT_EQ(config.GetSubKeyCount("Software\\DVR\\ServerInfo"), 0);
    // The values went with the key: a new key of that name starts empty.
    ASSERT_TRUE(config.SetKey("Software\\DVR\\ServerInfo\\Shop", true));
    EXPECT_FALSE(config.ValueExists("IP"));
    EXPECT_FALSE(config.DeleteKey(""));
}

TEST_F(RegConfigTest, MalformedPathsAndOtherRootsFailWithoutChangingState)
{
    CRegConfig config;
    ASSERT_TRUE(config.SetKey("Software", true));
    EXPECT_FALSE(config.SetKey("\\Software", true));
    EXPECT_FALSE(config.SetKey("Software\\\\DVR", false));
    EXPECT_EQ(config.GetLastError(), regerr::BadPathname);
    EXPECT_EQ(config.CurrentPath(), "Software");
    EXPECT_FALSE(config.KeyExists("Software", HKEY_LOCAL_MACHINE));
    EXPECT_TRUE(config.KeyExists("Software", HKEY_CURRENT_USER));
    EXPECT_TRUE(config.SetKey("", false));
    EXPECT_EQ(config.CurrentPath(), "");

    config.SetLazyWrite(false);
    EXPECT_TRUE(config.SetKey("Software\\DVR", true));
    EXPECT_TRUE(config.WriteInt("Language", 2));
    config.Reset();
    EXPECT_EQ(config.CurrentPath(), "");
    EXPECT_TRUE(config.SetKey("Software\\DVR", false));
    EXPECT_EQ(config.ReadInt("Language", 0), 2);
}

} // namespace
