#include "core/config/RegFile.h"

#include "TempRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

namespace {

using RegFileStoreTest = TempRegistryTest;

// Every key (spelled as stored) with its values, for comparing whole trees.
using TreeDump = std::map<std::string, std::vector<std::tuple<std::string, std::uint32_t, std::vector<std::uint8_t>>>>;

void DumpKey(RegistryBackend& store, const RegKeyPath& key, TreeDump& dump)
{
    std::vector<RegValue> values;
    ASSERT_EQ(store.EnumValues(key, values), regerr::Success);
    auto& entry = dump[CRegFile::RootedKeyText(key)];
    for (auto& value : values)
        entry.emplace_back(value.name, value.type, value.data);
    // Value order is not part of the tree (the default value is written first).
    std::sort(entry.begin(), entry.end());
    std::vector<std::string> names;
    ASSERT_EQ(store.EnumSubKeys(key, names), regerr::Success);
    for (const auto& name : names) {
        RegKeyPath child = key;
        child.push_back(name);
        DumpKey(store, child, dump);
    }
}

TreeDump Dump(RegistryBackend& store, const RegKeyPath& key)
{
    TreeDump dump;
    DumpKey(store, key, dump);
    return dump;
}

std::vector<std::uint8_t> Utf16Le(const std::u16string& text)
{
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (char16_t c : text) {
        bytes.push_back(std::uint8_t(c & 0xFF));
        bytes.push_back(std::uint8_t(c >> 8));
    }
    return bytes;
}

void BuildSampleTree(RegistryBackend& store)
{
    RegKeyPath dvr = {"Software", "DVR"};
    RegKeyPath shop = {"Software", "DVR", "ServerInfo", "Shop \xE5\x8C\x97"};
    RegKeyPath types = {"Software", "DVR", "DVR_TYPE"};
    for (const auto& key : {dvr, shop, types, RegKeyPath{"Software", "DVR", "Empty"}})
        ASSERT_EQ(store.CreateKey(key), regerr::Success);
    store.SetValue(dvr, "Language", REG_BINARY, {2, 0, 0, 0});
    store.SetValue(dvr, "Boot", REG_BINARY, {0, 0, 0, 0});
    store.SetValue(dvr, "", REG_SZ, {'d', 'e', 'f', 0});
    store.SetValue(shop, "DVR Type", REG_SZ, {'M', 'O', 'D', 'E', 'L', '_', 'A', 0});
    store.SetValue(shop, "Pass", REG_SZ, {'p', '"', '\\', 0xE9, 0});
    store.SetValue(shop, "Port", REG_DWORD, {0x8A, 0x1B, 0, 0});
    store.SetValue(shop, "Path", REG_EXPAND_SZ, {'%', 'H', '%', 0});
    store.SetValue(shop, "Blob", REG_BINARY, std::vector<std::uint8_t>(100, 0xC3));
    store.SetValue(shop, "Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0});
    store.SetValue(types, "MDLA", REG_SZ, {'X', 0});
    store.SetValue({"Software", "Other"}, "x", REG_SZ, {0});
}

TEST_F(RegFileStoreTest, ExportDeleteImportGivesBackTheSameTree)
{
    BuildSampleTree(*m_store);
    TreeDump before = Dump(*m_store, {"Software", "DVR"});
    std::vector<std::uint8_t> file;
    std::string error;
    ASSERT_TRUE(CRegFile::Export(*m_store, "HKEY_CURRENT_USER\\Software\\DVR", file, error)) << error;

    ASSERT_EQ(DeleteTree(*m_store, {"Software", "DVR"}), regerr::Success);
    ASSERT_EQ(m_store->OpenKey({"Software", "DVR"}), regerr::FileNotFound);

    ASSERT_TRUE(CRegFile::Import(*m_store, file, error)) << error;
    EXPECT_EQ(Dump(*m_store, {"Software", "DVR"}), before);

    // Exporting again gives the very same bytes, key names spelled as stored.
    std::vector<std::uint8_t> again;
    ASSERT_TRUE(CRegFile::Export(*m_store, "HKCU\\software\\dvr", again, error)) << error;
    EXPECT_EQ(again, file);
}

TEST_F(RegFileStoreTest, WindowsWrittenFileImportsWithItsTypesAndBytes)
{
    auto file = Utf16Le(u"Windows Registry Editor Version 5.00\r\n"
                        u"\r\n"
                        u"[HKEY_CURRENT_USER\\Software\\DVR]\r\n"
                        u"\"Language\"=hex:01,00,00,00\r\n"
                        u"\"Boot\"=dword:00000000\r\n"
                        u"\r\n"
                        u"[HKEY_CURRENT_USER\\Software\\DVR\\ServerInfo\\Front door]\r\n"
                        u"\"IP\"=\"192.168.1.20\"\r\n"
                        u"\"Port\"=dword:00001b8a\r\n"
                        u"\"Logs\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,5c,00,64,00,76,00,72,00,\\\r\n"
                        u"  00,00\r\n"
                        u"\"Wide\"=hex:01,00,00,00,00,00,00,00\r\n"
                        u"\r\n");
    std::string error;
    ASSERT_TRUE(CRegFile::Import(*m_store, file, error)) << error;
    CRegConfig config;
    ASSERT_TRUE(config.SetKey("Software\\DVR\\", false));
    EXPECT_EQ(config.ReadInt("Language", 0), 1);
    EXPECT_EQ(config.GetDataType("Boot"), REG_DWORD);
    ASSERT_TRUE(config.SetKey("Software\\DVR\\ServerInfo\\Front door", false));
    EXPECT_EQ(config.ReadString("IP", ""), "192.168.1.20");
    EXPECT_EQ(config.ReadInt("Port", 0), 7050);
    EXPECT_EQ(config.GetDataType("Logs"), REG_EXPAND_SZ);
    EXPECT_EQ(config.ReadString("Logs", ""), "%TEMP%\\dvr");
    EXPECT_EQ(config.ReadInt("Wide", -1), -1);
    EXPECT_EQ(config.GetDataType("Wide"), REG_BINARY);
}

TEST_F(RegFileStoreTest, MalformedFileChangesNothingAndNamesTheLine)
{
    BuildSampleTree(*m_store);
    TreeDump before = Dump(*m_store, {});
    std::string file = "Windows Registry Editor Version 5.00\r\n"
                       "\r\n"
                       "[-HKEY_CURRENT_USER\\Software\\DVR\\ServerInfo]\r\n"
                       "[HKEY_CURRENT_USER\\Software\\DVR]\r\n"
                       "\"Language\"=hex:07,00,00,00\r\n"
                       "\"Boot\"=dword:xyz\r\n";
    std::string error;
    EXPECT_FALSE(CRegFile::Import(*m_store, std::vector<std::uint8_t>(file.begin(), file.end()), error));
    EXPECT_EQ(error.rfind("line 6: ", 0), 0u) << error;
    EXPECT_EQ(Dump(*m_store, {}), before);
}

TEST_F(RegFileStoreTest, DeletionsApplyAndExportOfMissingKeyFails)
{
    BuildSampleTree(*m_store);
    std::string file = "REGEDIT4\n"
                       "[-HKEY_CURRENT_USER\\Software\\DVR\\ServerInfo]\n"
                       "[HKEY_CURRENT_USER\\Software\\DVR]\n"
                       "\"boot\"=-\n"
                       "\"NotThere\"=-\n"
                       "[-HKEY_CURRENT_USER\\Software\\Nothing\\Here]\n";
    std::string error;
    ASSERT_TRUE(CRegFile::Import(*m_store, std::vector<std::uint8_t>(file.begin(), file.end()), error)) << error;
    EXPECT_EQ(m_store->OpenKey({"Software", "DVR", "ServerInfo"}), regerr::FileNotFound);
    RegValue value;
    EXPECT_EQ(m_store->QueryValue({"Software", "DVR"}, "Boot", value), regerr::FileNotFound);
    EXPECT_EQ(m_store->QueryValue({"Software", "DVR"}, "Language", value), regerr::Success);

    std::vector<std::uint8_t> out;
    EXPECT_FALSE(CRegFile::Export(*m_store, "HKEY_CURRENT_USER\\Software\\DVR\\ServerInfo", out, error));
    EXPECT_NE(error.find("key not found"), std::string::npos);
    EXPECT_FALSE(CRegFile::Export(*m_store, "HKEY_LOCAL_MACHINE\\Software", out, error));
}

TEST_F(RegFileStoreTest, NamesWithLineBreaksAreRefusedRatherThanWrittenBroken)
{
    ASSERT_EQ(m_store->CreateKey({"Software", "DVR", "Two\nLines"}), regerr::Success);
    std::vector<std::uint8_t> out;
    std::string error;
    EXPECT_FALSE(CRegFile::Export(*m_store, "HKCU\\Software", out, error));
    EXPECT_NE(error.find("line break"), std::string::npos);

    ASSERT_EQ(m_store->CreateKey({"Other"}), regerr::Success);
    ASSERT_EQ(m_store->SetValue({"Other"}, "a\rb", REG_SZ, {0}), regerr::Success);
    EXPECT_FALSE(CRegFile::Export(*m_store, "HKCU\\Other", out, error));
}

} // namespace
