// dvrctl ddns against a real ddns-emulator: the answer on stdout, the lookup
// dialog's texts and distinct exit codes for each way a lookup fails.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DvrctlRun.h"
#include "support/TempDir.h"
#include "support/processes/DdnsEmulatorProcess.h"
#include "support/processes/FreePort.h"

namespace {

const std::vector<std::string> kNames = {"--name", "cam1=10.1.2.3:7050", "--name", "shop=192.168.7.20:80"};

class DdnsCommandTest : public ::testing::Test {
protected:
    DvrctlRun Ddns(const std::string& name, const std::string& server)
    {
        return RunDvrctl({"ddns", name, "--server", server}, folder.path());
    }
    static std::string At(const DdnsEmulatorProcess& server) { return "127.0.0.1:" + std::to_string(server.Port()); }

    TempDir folder;
};

TEST_F(DdnsCommandTest, AnswersAndRefusalsEachHaveTheirOwnCode)
{
    DdnsEmulatorProcess server;
    ASSERT_TRUE(server.Start(kNames)) << server.Error();
    DvrctlRun run = Ddns("cam1", At(server));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "10.1.2.3 7050\n");
    EXPECT_EQ(run.err, "");
    // The server may be named; names match without case.
    run = Ddns("SHOP", "localhost:" + std::to_string(server.Port()));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "192.168.7.20 80\n");
    EXPECT_EQ(server.QueryCount(), 2);

    run = Ddns("nobody", At(server));
    EXPECT_EQ(run.status, 7);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "dvrctl: Invalid DDNS!\n");

    run = Ddns("cam1", "127.0.0.1:" + std::to_string(FreeTcpPort()));
    EXPECT_EQ(run.status, 6);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "dvrctl: DDNS Connection Failed!\n");
}

TEST_F(DdnsCommandTest, SilentOrHangingUpServerIsNoAnswer)
{
    DdnsEmulatorProcess silent;
    ASSERT_TRUE(silent.Start({"--reply", "silent"})) << silent.Error();
    DvrctlRun run = Ddns("cam1", At(silent));
    EXPECT_EQ(run.status, 8);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "dvrctl: the DDNS server did not answer within 3000 ms\n");
    // It gave the server its full time, and not much more.
    EXPECT_GE(run.elapsed.count(), 2900);
    EXPECT_LT(run.elapsed.count(), 8000);

    DdnsEmulatorProcess closing;
    ASSERT_TRUE(closing.Start({"--reply", "close"})) << closing.Error();
    run = Ddns("cam1", At(closing));
    EXPECT_EQ(run.status, 8);
    EXPECT_EQ(run.err, "dvrctl: the DDNS server hung up without an answer\n");
}

TEST_F(DdnsCommandTest, MalformedCommandLinesAreUsageErrors)
{
    const std::vector<std::vector<std::string>> usages = {
        {"ddns", "cam1"},                                  // no server
        {"ddns", "--server", "127.0.0.1"},                 // no name
        {"ddns", "cam1", "--server", "127.0.0.1:0"},
        {"ddns", "cam1", "--server", "127.0.0.1:65536"},
        {"ddns", "cam1", "--server", "127.0.0.1:"},
        {"ddns", "cam1", "--server", ":2780"},
        {"ddns", "cam1", "cam2", "--server", "127.0.0.1"},
    };
    for (const auto& args : usages) {
        DvrctlRun run = RunDvrctl(args, folder.path());
        EXPECT_EQ(run.status, 2) << args.size() << " words: " << run.err;
        EXPECT_EQ(run.out, "");
    }
}

} // namespace
