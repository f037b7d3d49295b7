// dvrctl as scripts meet it: exit codes, output and one-line errors against
// real dvr-emulator recorders.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/processes/EmulatorProcess.h"
#include "support/processes/FreePort.h"

extern char** environ;

namespace {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class DvrctlTest : public ::testing::Test {
public:
    static void SetUpTestSuite()
    {
        s_discoveryPort = FreeUdpPort();
        s_emulator = std::make_unique<EmulatorProcess>();
        std::vector<EmulatorProcess::Recorder> recorders = {
            {"MODEL_C", {}}, {"MODEL_C", {"--reject-logins"}}, {"MODEL_C", {"--refuse-op", "log"}}};
        if (!s_emulator->Start(recorders, {"--discovery-port", std::to_string(s_discoveryPort)})) {
            s_startError = s_emulator->Error();
            s_emulator.reset();
        }
    }
    static void TearDownTestSuite() { s_emulator.reset(); }

protected:
    void SetUp() override { ASSERT_TRUE(s_emulator) << "dvr-emulator did not start: " << s_startError; }

    static ProgramRun Dvrctl(std::vector<std::string> args)
    {
        std::string folder = s_emulator->DataDir();
        std::string outPath = folder + "/dvrctl.out";
        std::string errPath = folder + "/dvrctl.err";
        args.insert(args.begin(), std::string(OMBREL_BIN_DIR) + "/dvrctl");
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = -1;
        ProgramRun run;
        if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        run.out = ReadFile(outPath);
        run.err = ReadFile(errPath);
        return run;
    }

    static std::vector<std::string> Connection(std::size_t recorder, const char* account = "ADMIN",
                                               const char* password = "5829")
    {
        return {"--host", "127.0.0.1", "--port", std::to_string(s_emulator->Port(recorder)), "--account", account,
                "--password", password};
    }

    static std::vector<std::string> With(std::vector<std::string> args, std::initializer_list<std::string> more)
    {
        args.insert(args.end(), more);
        return args;
    }

    static std::unique_ptr<EmulatorProcess> s_emulator;
    static std::uint16_t s_discoveryPort;
    static std::string s_startError;
};

std::unique_ptr<EmulatorProcess> DvrctlTest::s_emulator;
std::uint16_t DvrctlTest::s_discoveryPort = 0;
std::string DvrctlTest::s_startError;

bool OneLine(const std::string& text) { return !text.empty() && text.find('\n') == text.size() - 1; }

TEST_F(DvrctlTest, UsageErrorsExitTwoBeforeAnyConnection)
{
    ProgramRun help = Dvrctl({"--help"});
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
        ProgramRun run = Dvrctl(args);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_TRUE(OneLine(run.err)) << run.err;
    }
}

TEST_F(DvrctlTest, InfoPrintsTheModeAndTheSettings)
{
    ProgramRun admin = Dvrctl(With(Connection(0), {"info"}));
    ASSERT_EQ(admin.status, 0) << admin.err;
    EXPECT_EQ(admin.out.rfind("{\"mode\":\"administrator\",\"settings\":{", 0), 0u) << admin.out;
    EXPECT_NE(admin.out.find("\"dvrTypeCode\":3"), std::string::npos);

    ProgramRun guest = Dvrctl(With(Connection(0, "GUEST0"), {"--udp", "info"}));
    ASSERT_EQ(guest.status, 0) << guest.err;
    EXPECT_EQ(guest.out.rfind("{\"mode\":\"user\"", 0), 0u);
}

TEST_F(DvrctlTest, RefusedLogInsAndUnreachableRecorders)
{
    ProgramRun wrong = Dvrctl(With(Connection(0, "ADMIN", "0000"), {"info"}));
    EXPECT_EQ(wrong.status, 3);
    EXPECT_TRUE(OneLine(wrong.err));
    EXPECT_EQ(Dvrctl(With(Connection(0, "ROOT"), {"info"})).status, 3);
    EXPECT_EQ(Dvrctl(With(Connection(1), {"info"})).status, 3);

    std::string closed = std::to_string(FreeTcpPort());
    ProgramRun unreachable = Dvrctl({"--host", "127.0.0.1", "--port", closed, "--account", "ADMIN", "info"});
    EXPECT_EQ(unreachable.status, 4);
    EXPECT_TRUE(OneLine(unreachable.err));
}

TEST_F(DvrctlTest, DaysAndLogs)
{
    ProgramRun days = Dvrctl(With(Connection(0), {"days", "2026-11"}));
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

    std::string path = s_emulator->DataDir() + "/day.log";
    char date[16];
    std::snprintf(date, sizeof date, "2026-11-%02d", first);
    ProgramRun log = Dvrctl(With(Connection(0), {"log", date, path}));
    ASSERT_EQ(log.status, 0) << log.err;
    std::string bytes = ReadFile(path);
    EXPECT_GT(bytes.size(), 0u);
    EXPECT_EQ(bytes.size() % 16, 0u);

    ProgramRun missing = Dvrctl(With(Connection(0), {"log", "2026-02-30", path}));
    EXPECT_EQ(missing.status, 5);
    EXPECT_TRUE(OneLine(missing.err));
    EXPECT_EQ(Dvrctl(With(Connection(2), {"log", date, path})).status, 1);
}

TEST_F(DvrctlTest, UploadAndSerial)
{
    std::string path = s_emulator->DataDir() + "/splash.png";
    std::string content(1500, 'p');
    std::ofstream(path, std::ios::binary) << content;
    ProgramRun upload = Dvrctl(With(Connection(0), {"upload", path}));
    ASSERT_EQ(upload.status, 0) << upload.err;
    EXPECT_EQ(ReadFile(s_emulator->DataDir() + "/rec0/uploads/splash.png"), content);

    ProgramRun serial = Dvrctl(With(Connection(0), {"serial", "FF010002000003"}));
    ASSERT_EQ(serial.status, 0) << serial.err;
    EXPECT_NE(ReadFile(s_emulator->DataDir() + "/rec0/serial.log").find("ff 01 00 02 00 00 03"), std::string::npos);
}

TEST_F(DvrctlTest, ScanPrintsOneJsonLinePerRecorder)
{
    setenv("DVR_SCAN_TARGETS", ("127.0.0.1:" + std::to_string(s_discoveryPort)).c_str(), 1);
    ProgramRun scan = Dvrctl({"scan"});
    unsetenv("DVR_SCAN_TARGETS");
    ASSERT_EQ(scan.status, 0) << scan.err;
    for (std::size_t r = 0; r < 3; ++r)
        EXPECT_NE(scan.out.find("\"port\":" + std::to_string(s_emulator->Port(r))), std::string::npos) << scan.out;
    EXPECT_NE(scan.out.find("\"model\":\"MODEL_C\""), std::string::npos);
    EXPECT_EQ(std::count(scan.out.begin(), scan.out.end(), '\n'), 3);
}

} // namespace
