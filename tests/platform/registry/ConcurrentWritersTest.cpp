#include "core/config/RegConfig.h"

#include "ChildProcess.h"
#include "TempRegistry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace {

constexpr int kWritesPerProcess = 250;
const char* const kDbVariable = "OMBREL_REGISTRY_WRITER_DB";
const char* const kIdVariable = "OMBREL_REGISTRY_WRITER_ID";
const char* const kGoVariable = "OMBREL_REGISTRY_WRITER_GO";

std::string SelfPath()
{
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

// Runs only inside a child started by the test below: writes its share of
// server records and shared values, one short write at a time.
TEST(RegistryWriterChild, WritesItsShare)
{
    const char* db = std::getenv(kDbVariable);
    const char* id = std::getenv(kIdVariable);
    const char* go = std::getenv(kGoVariable);
    if (!db || !id || !go)
        GTEST_SKIP() << "only runs as a child of ConcurrentWriters";
    RegistryOpenResult opened = OpenRegistryAt(db);
    ASSERT_TRUE(opened.backend) << opened.error;
    SetRegistryBackend(opened.backend);
    for (int wait = 0; wait < 1000 && access(go, F_OK) != 0; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (int i = 0; i < kWritesPerProcess; ++i) {
        CRegConfig record;
        std::string name = std::string("w") + id + "-" + std::to_string(i);
        ASSERT_TRUE(record.SetKey("Software\\DVR\\ServerInfo\\" + name, true));
        ASSERT_TRUE(record.WriteString("IP", name));
        ASSERT_TRUE(record.WriteInt("Port", i));
        CRegConfig shared;
        ASSERT_TRUE(shared.SetKey("Software\\DVR\\Shared", true));
        ASSERT_TRUE(shared.WriteInt(name, i));
    }
    SetRegistryBackend(nullptr);
}

TEST(ConcurrentWriters, TwoProcessesWritingOneTreeLoseNoUpdate)
{
    TempFolder folder;
    std::string db = folder.File("registry.db");
    std::string go = folder.File("go");
    std::vector<pid_t> children;
    for (const char* id : {"1", "2"}) {
        children.push_back(StartProgram({SelfPath(), "--gtest_filter=RegistryWriterChild.WritesItsShare"},
                                        {std::string(kDbVariable) + "=" + db, std::string(kIdVariable) + "=" + id,
                                         std::string(kGoVariable) + "=" + go},
                                        folder.File(std::string("child") + id + ".log")));
        ASSERT_GT(children.back(), 0);
    }
    std::ofstream(go) << "go";
    for (std::size_t i = 0; i < children.size(); ++i) {
        std::string logPath = folder.File("child" + std::to_string(i + 1) + ".log");
        EXPECT_EQ(WaitProgram(children[i]), 0) << std::ifstream(logPath).rdbuf();
    }

    RegistryOpenResult opened = OpenRegistryAt(db);
    ASSERT_TRUE(opened.backend) << opened.error;
    SetRegistryBackend(opened.backend);
    CRegConfig check;
    EXPECT_EQ(check.GetSubKeyCount("Software\\DVR\\ServerInfo\\"), 2 * kWritesPerProcess);
    ASSERT_TRUE(check.SetKey("Software\\DVR\\Shared", false));
    int missing = 0;
    for (const char* id : {"1", "2"}) {
        for (int i = 0; i < kWritesPerProcess; ++i) {
            std::string name = std::string("w") + id + "-" + std::to_string(i);
            missing += check.ReadInt(name, -1) != i;
            CRegConfig record;
            ASSERT_TRUE(record.SetKey("Software\\DVR\\ServerInfo\\" + name, false));
            missing += record.ReadString("IP", "") != name || record.ReadInt("Port", -1) != i;
        }
    }
    EXPECT_EQ(missing, 0);
    SetRegistryBackend(nullptr);
}

} // namespace
