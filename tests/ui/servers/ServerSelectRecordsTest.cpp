// Server records over the real registry store: what the selection list and
// the configuration dialog read and write.
#include "core/config/RegConfig.h"
#include "core/servers/DemoServerSeed.h"
#include "core/servers/ServerRecord.h"
#include "platform/registry/TempRegistry.h"

#include <gtest/gtest.h>

namespace {

class ServerRecordsTest : public TempRegistryTest {
protected:
    static RegKeyPath keyOf(const std::string& name) { return {"Software", "DVR", "ServerInfo", name}; }

    void setRaw(const std::string& server, const std::string& value, std::uint32_t type,
                std::vector<std::uint8_t> bytes)
    {
        ASSERT_EQ(m_store->CreateKey(keyOf(server)), regerr::Success);
        ASSERT_EQ(m_store->SetValue(keyOf(server), value, type, bytes), regerr::Success);
    }

    static ServerRecord sample(const std::string& name)
    {
        return ServerRecord{name, "192.168.0.10", 7050, "ADMIN", "pw 1", "MODEL_C", "TCP", "10.0.0.1"};
    }

    CRegConfig m_reg;
    ServerDirectory m_dir{m_reg};
};

} // namespace

TEST_F(ServerRecordsTest, WrittenRecordsReadBackInEnumerationOrderWithStoredTypesAndValueOrder)
{
    for (const char* name : {"charlie", "Alpha", "beta"})
        ASSERT_TRUE(m_dir.Write(sample(name)));
    auto records = m_dir.List();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].name + records[1].name + records[2].name, "Alphabetacharlie");
    EXPECT_EQ(records[1], sample("beta"));
    EXPECT_EQ(m_dir.Find("BETA")->ip, "192.168.0.10");

    std::vector<RegValue> values;
    ASSERT_EQ(m_store->EnumValues(keyOf("beta"), values), regerr::Success);
    std::string order;
    for (const auto& v : values) {
        order += v.name + ",";
        EXPECT_EQ(v.type, v.name == "Port" ? REG_BINARY : REG_SZ) << v.name;
    }
    EXPECT_EQ(order, "DVR Type,Account,Pass,IP,Port,Protocol,DDNS,");
    EXPECT_EQ(values[4].data, (std::vector<std::uint8_t>{0x8A, 0x1B, 0, 0}));
}

TEST_F(ServerRecordsTest, MissingValuesReadAsDefaultsAndPortTakesTheFirstFourBytesOfAnyValue)
{
    ASSERT_EQ(m_store->CreateKey(keyOf("bare")), regerr::Success);
    ServerRecord bare;
    bare.name = "bare";
    EXPECT_EQ(m_dir.Find("bare"), bare);

    setRaw("short", "Port", REG_BINARY, {0x8A, 0x1B});
    EXPECT_EQ(m_dir.Find("short")->port, 7050u);
    setRaw("long", "Port", REG_BINARY, {0x50, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(m_dir.Find("long")->port, 80u);
    setRaw("dword", "Port", REG_DWORD, {0x39, 0x30, 0, 0});
    EXPECT_EQ(m_dir.Find("dword")->port, 12345u);
    setRaw("typed", "IP", REG_BINARY, {'1', '.', '2', 0});
    EXPECT_EQ(m_dir.Find("typed")->ip, "") << "a text of another type is no text";
}

TEST_F(ServerRecordsTest, LookupsOfMissingKeysNeitherCreateNorReadTheLastOpenedKey)
{
    ASSERT_TRUE(m_dir.Write(sample("present")));
    setRaw("present", "MDLA", REG_SZ, {'X', 0});
    ASSERT_TRUE(m_dir.Find("present"));
    EXPECT_FALSE(m_dir.Find("absent"));
    EXPECT_EQ(m_store->OpenKey(keyOf("absent")), regerr::FileNotFound);
    EXPECT_EQ(m_dir.ModelNames(), DefaultModelNames());

    const RegKeyPath table{"Software", "DVR", "DVR_TYPE"};
    ASSERT_EQ(m_store->CreateKey(table), regerr::Success);
    ASSERT_EQ(m_store->SetValue(table, "MDLC", REG_SZ, {'B', 'i', 'g', 0}), regerr::Success);
    auto names = m_dir.ModelNames();
    EXPECT_EQ(names[2], "Big");
    EXPECT_EQ(names[4], "MODEL_E");
}

TEST_F(ServerRecordsTest, BadNamesAndOverlongTextsChangeNothing)
{
    ASSERT_TRUE(m_dir.Write(sample("kept")));
    for (const std::string& name : std::vector<std::string>{"", "a\\b", std::string(256, 'n')})
        EXPECT_FALSE(m_dir.Write(sample(name))) << name;
    auto tooLong = sample("kept");
    tooLong.password = std::string(255, 'p');
    tooLong.ip = "changed";
    EXPECT_FALSE(m_dir.Write(tooLong));
    EXPECT_EQ(m_dir.Find("kept"), sample("kept"));

    // An empty name must never reach the ServerInfo key itself.
    ASSERT_EQ(m_store->DeleteKey(keyOf("kept")), regerr::Success);
    EXPECT_FALSE(m_dir.Remove(""));
    EXPECT_EQ(m_store->OpenKey({"Software", "DVR", "ServerInfo"}), regerr::Success);
}

TEST_F(ServerRecordsTest, DemoSeedFillsOnlyAnEmptyDirectory)
{
    ASSERT_TRUE(SeedEmulatorServer(m_reg)) << "no ServerInfo key at all counts as empty";
    EXPECT_EQ(m_dir.Find("Emulator"), EmulatorServerRecord());
    EXPECT_EQ(m_dir.Find("Emulator")->port, 7050u);

    ASSERT_TRUE(m_dir.Remove("Emulator"));
    ASSERT_TRUE(m_dir.Write(sample("Own")));
    EXPECT_FALSE(SeedEmulatorServer(m_reg));
    EXPECT_EQ(m_dir.List(), std::vector<ServerRecord>{sample("Own")});
}

TEST_F(ServerRecordsTest, ReconnectReadsOnWhenMissingOffForZeroAndWriteLeavesItAlone)
{
    ASSERT_TRUE(m_dir.Write(sample("gate")));
    EXPECT_TRUE(m_dir.Find("gate")->reconnect);
    std::vector<RegValue> values;
    ASSERT_EQ(m_store->EnumValues(keyOf("gate"), values), regerr::Success);
    EXPECT_EQ(values.size(), 7u) << "Write adds no Reconnect value";

    setRaw("gate", "Reconnect", REG_BINARY, {0, 0, 0, 0});
    EXPECT_FALSE(m_dir.Find("gate")->reconnect);
    // Saving the record from the configuration dialog keeps the operator's choice.
    ASSERT_TRUE(m_dir.Write(sample("gate")));
    EXPECT_FALSE(m_dir.Find("gate")->reconnect);
    EXPECT_FALSE(m_dir.List()[0].reconnect);

    setRaw("gate", "Reconnect", REG_BINARY, {1, 0, 0, 0});
    EXPECT_TRUE(m_dir.Find("gate")->reconnect);
    CRegConfig reg;
    ASSERT_TRUE(reg.SetKey("Software\\DVR\\ServerInfo\\gate", false));
    ASSERT_TRUE(reg.WriteInt("Reconnect", 0));
    EXPECT_FALSE(m_dir.Find("gate")->reconnect);
}
