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
    RegKeyPath keyOf(const std::string& name) { return {"Software", "DVR", "ServerInfo", name}; }

    void setRaw(const std::string& server, const std::string& value, std::uint32_t type,
                std::vector<std::uint8_t> bytes)
    {
        ASSERT_EQ(m_store->CreateKey(keyOf(server)), regerr::Success);
        ASSERT_EQ(m_store->SetValue(keyOf(server), value, type, bytes), regerr::Success);
    }

    ServerRecord sample(const std::string& name)
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
    EXPECT_EQ(records[0].name, "Alpha");
    EXPECT_EQ(records[1].name, "beta");
    EXPECT_EQ(records[2].name, "charlie");
    EXPECT_EQ(records[1], sample("beta"));
    EXPECT_EQ(m_dir.Find("BETA")->ip, "192.168.0.10");

    std::vector<RegValue> values;
    ASSERT_EQ(m_store->EnumValues(keyOf("beta"), values), regerr::Success);
    std::vector<std::string> order;
    for (const auto& v : values)
        order.push_back(v.name);
    EXPECT_EQ(order, (std::vector<std::string>{"DVR Type", "Account", "Pass", "IP", "Port", "Protocol", "DDNS"}));
    for (const auto& v : values) {
        if (v.name == "Port") {
            EXPECT_EQ(v.type, REG_BINARY);
            EXPECT_EQ(v.data, (std::vector<std::uint8_t>{0x8A, 0x1B, 0, 0}));
        } else {
            EXPECT_EQ(v.type, REG_SZ) << v.name;
        }
    }

    // Rewriting an existing record changes its values in place.
    auto changed = sample("beta");
    changed.port = 9000;
    ASSERT_TRUE(m_dir.Write(changed));
    EXPECT_EQ(m_dir.Find("beta")->port, 9000u);
    EXPECT_EQ(m_dir.List().size(), 3u);
}

TEST_F(ServerRecordsTest, MissingValuesReadAsDefaultsAndPortTakesTheFirstFourBytesOfAnyValue)
{
    ASSERT_EQ(m_store->CreateKey(keyOf("bare")), regerr::Success);
    auto bare = m_dir.Find("bare");
    ASSERT_TRUE(bare);
    ServerRecord expected;
    expected.name = "bare";
    EXPECT_EQ(*bare, expected);
    EXPECT_EQ(PortText(bare->port), "0");

    setRaw("short", "Port", REG_BINARY, {0x8A, 0x1B});
    EXPECT_EQ(m_dir.Find("short")->port, 7050u);
    setRaw("long", "Port", REG_BINARY, {0x50, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(m_dir.Find("long")->port, 80u);
    setRaw("dword", "Port", REG_DWORD, {0x39, 0x30, 0, 0});
    EXPECT_EQ(m_dir.Find("dword")->port, 12345u);
    setRaw("empty", "Port", REG_BINARY, {});
    EXPECT_EQ(m_dir.Find("empty")->port, 0u);
    EXPECT_EQ(PortText(0xFFFFFFFFu), "-1");

    // A text value of another type is not text.
    setRaw("typed", "IP", REG_BINARY, {'1', '.', '2', 0});
    EXPECT_EQ(m_dir.Find("typed")->ip, "");
}

TEST_F(ServerRecordsTest, LookupsOfMissingKeysNeitherCreateNorReadTheLastOpenedKey)
{
    ASSERT_TRUE(m_dir.Write(sample("present")));
    ASSERT_TRUE(m_dir.Find("present"));
    EXPECT_FALSE(m_dir.Find("absent"));
    EXPECT_FALSE(m_dir.Exists("absent"));
    EXPECT_EQ(m_store->OpenKey(keyOf("absent")), regerr::FileNotFound);

    // Model names come from the table key only; the record just read holds
    // no model names even when a value happens to be called so.
    setRaw("present", "MDLA", REG_SZ, {'X', 0});
    ASSERT_TRUE(m_dir.Find("present"));
    EXPECT_EQ(m_dir.ModelNames(), DefaultModelNames());

    ASSERT_EQ(m_store->CreateKey({"Software", "DVR", "DVR_TYPE"}), regerr::Success);
    ASSERT_EQ(m_store->SetValue({"Software", "DVR", "DVR_TYPE"}, "MDLC", REG_SZ, {'B', 'i', 'g', 0}), regerr::Success);
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
    EXPECT_EQ(*m_dir.Find("kept"), sample("kept"));
    auto fresh = sample("fresh");
    fresh.ddns = std::string(300, 'd');
    EXPECT_FALSE(m_dir.Write(fresh));
    EXPECT_FALSE(m_dir.Exists("fresh"));

    // An empty name must never reach the ServerInfo key itself.
    ASSERT_EQ(m_store->DeleteKey(keyOf("kept")), regerr::Success);
    EXPECT_FALSE(m_dir.Remove(""));
    EXPECT_EQ(m_store->OpenKey({"Software", "DVR", "ServerInfo"}), regerr::Success);

    ASSERT_TRUE(m_dir.Write(sample("gone")));
    EXPECT_TRUE(m_dir.Remove("GONE"));
    EXPECT_FALSE(m_dir.Remove("gone"));
    EXPECT_TRUE(m_dir.List().empty());
}

TEST_F(ServerRecordsTest, DemoSeedFillsOnlyAnEmptyDirectory)
{
    ASSERT_TRUE(SeedEmulatorServer(m_reg)) << "no ServerInfo key at all counts as empty";
    auto seeded = m_dir.Find("Emulator");
    ASSERT_TRUE(seeded);
    EXPECT_EQ(seeded->ip, "127.0.0.1");
    EXPECT_EQ(seeded->port, 7050u);
    EXPECT_EQ(seeded->account, "ADMIN");
    EXPECT_EQ(seeded->dvrType, "MODEL_C");
    EXPECT_EQ(seeded->protocol, "TCP");

    ASSERT_TRUE(m_dir.Remove("Emulator"));
    ASSERT_TRUE(m_dir.Write(sample("Own")));
    EXPECT_FALSE(SeedEmulatorServer(m_reg));
    ASSERT_EQ(m_dir.List().size(), 1u);
    EXPECT_EQ(m_dir.List()[0], sample("Own"));
}
