// dvrctl as scripts meet it: exit codes, output and one-line errors against
// real dvr-emulator recorders.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "DvrctlEmulator.h"
#include "DvrctlRun.h"
#include "support/TempDir.h"
#include "support/processes/FreePort.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> With(std::vector<std::string> args, std::initializer_list<std::string> more)
{
    args.insert(args.end(), more);
    return args;
}

bool OneLine(const std::string& text) { return !text.empty() && text.find('\n') == text.size() - 1; }

class DvrctlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        emulator = DvrctlEmulator(&error);
        ASSERT_TRUE(emulator) << "dvr-emulator did not start: " << error;
    }

    DvrctlRun Dvrctl(const std::vector<std::string>& args) { return RunDvrctl(args, folder.path()); }

    EmulatorProcess* emulator = nullptr;
    TempDir folder;
};

TEST_F(DvrctlTest, UsageErrorsExitTwoBeforeAnyConnection)
{
    DvrctlRun help = Dvrctl({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: dvrctl"), std::string::npos);

    // Port 1 has no recorder: a usage error must be found before connecting.
    std::vector<std::string> nowhere = {"--host", "127.0.0.1", "--port", "1", "--account", "ADMIN"};
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"frobnicate"},
             With(nowhere, {"days"}),
             With(nowhere, {"days", "2026-13"}),
             With(nowhere, {"log", "2026-11-03"}),
             With(nowhere, {"log", "2026-11-32", "x.log"}),
             With(nowhere, {"serial", "ff0"}),
             With(nowhere, {"serial", "zz"}),
             With(nowhere, {"upload", "/no/such/file"}),
             {"--port", "70000", "info"},
             {"--host", "127.0.0.1", "info"},
         }) {
        DvrctlRun run = Dvrctl(args);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_TRUE(OneLine(run.err)) << run.err;
    }
}

TEST_F(DvrctlTest, InfoPrintsTheModeAndTheSettingsOrTheRefusal)
{
    DvrctlRun admin = Dvrctl(With(Connection(kSixteen), {"info"}));
    ASSERT_EQ(admin.status, 0) << admin.err;
    EXPECT_EQ(admin.out.rfind("{\"mode\":\"administrator\",\"settings\":{", 0), 0u) << admin.out;
    EXPECT_NE(admin.out.find("\"dvrTypeCode\":3"), std::string::npos);

    DvrctlRun guest = Dvrctl(With(Connection(kSixteen, "GUEST0"), {"--udp", "info"}));
    ASSERT_EQ(guest.status, 0) << guest.err;
    EXPECT_EQ(guest.out.rfind("{\"mode\":\"user\"", 0), 0u);

    DvrctlRun wrong = Dvrctl(With(Connection(kSixteen, "ADMIN", "0000"), {"info"}));
    EXPECT_EQ(wrong.status, 3);
    EXPECT_TRUE(OneLine(wrong.err));
    EXPECT_EQ(Dvrctl(With(Connection(kSixteen, "ROOT"), {"info"})).status, 3);
    EXPECT_EQ(Dvrctl(With(Connection(kRejecting), {"info"})).status, 3);

    std::string closed = std::to_string(FreeTcpPort());
    DvrctlRun unreachable = Dvrctl({"--host", "127.0.0.1", "--port", closed, "--account", "ADMIN", "info"});
    EXPECT_EQ(unreachable.status, 4);
    EXPECT_TRUE(OneLine(unreachable.err));
}

TEST_F(DvrctlTest, DaysAndLogs)
{
    DvrctlRun days = Dvrctl(With(Connection(kSixteen), {"days", "2026-11"}));
    ASSERT_EQ(days.status, 0) << days.err;
    std::istringstream lines(days.out);
    int day = 0;
    int first = 0;
    int count = 0;
    while (lines >> day) {
        EXPECT_GE(day, 1);
        EXPECT_LE(day, 30);
        first = first ? first : day;
        ++count;
    }
    ASSERT_GT(count, 0);

    std::string path = folder / "day.log";
    char date[16];
    std::snprintf(date, sizeof date, "2026-11-%02d", first);
    DvrctlRun log = Dvrctl(With(Connection(kSixteen), {"log", date, path}));
    ASSERT_EQ(log.status, 0) << log.err;
    std::string bytes = ReadFile(path);
    EXPECT_GT(bytes.size(), 0u);
    EXPECT_EQ(bytes.size() % 16, 0u);

    DvrctlRun missing = Dvrctl(With(Connection(kSixteen), {"log", "2026-02-30", path}));
    EXPECT_EQ(missing.status, 5);
    EXPECT_TRUE(OneLine(missing.err));
    EXPECT_EQ(Dvrctl(With(Connection(kRefusing), {"log", date, path})).status, 1);
}

TEST_F(DvrctlTest, UploadAndSerial)
{
    std::string path = folder / "splash.png";
    std::string content(1500, 'p');
    std::ofstream(path, std::ios::binary) << content;
    DvrctlRun upload = Dvrctl(With(Connection(kSixteen), {"upload", path}));
    ASSERT_EQ(upload.status, 0) << upload.err;
    EXPECT_EQ(ReadFile(emulator->DataDir() + "/rec0/uploads/splash.png"), content);

    DvrctlRun serial = Dvrctl(With(Connection(kSixteen), {"serial", "FF010002000003"}));
    ASSERT_EQ(serial.status, 0) << serial.err;
    EXPECT_NE(ReadFile(emulator->DataDir() + "/rec0/serial.log").find("ff 01 00 02 00 00 03"), std::string::npos);
}

TEST_F(DvrctlTest, ScanPrintsOneJsonLinePerRecorder)
{
    setenv("DVR_SCAN_TARGETS", ("127.0.0.1:" + std::to_string(DvrctlDiscoveryPort())).c_str(), 1);
    DvrctlRun scan = Dvrctl({"scan"});
    unsetenv("DVR_SCAN_TARGETS");
    ASSERT_EQ(scan.status, 0) << scan.err;
    for (std::size_t r = 0; r < kRecorderCount; ++r)
        EXPECT_NE(scan.out.find("\"port\":" + std::to_string(emulator->Port(r))), std::string::npos) << scan.out;
    EXPECT_NE(scan.out.find("\"model\":\"MODEL_B\""), std::string::npos);
    EXPECT_EQ(std::count(scan.out.begin(), scan.out.end(), '\n'), static_cast<long>(kRecorderCount));
}

} // namespace
