#include "support/processes/DdnsEmulatorProcess.h"
#include "support/processes/ProcessResources.h"
#include "support/processes/FreePort.h"

#include "platform/ddns/DdnsLookup.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

long MillisecondsSince(Clock::time_point start)
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

const std::vector<std::string> kNames = {"--name", "cam1=10.1.2.3:7050", "--name", "shop=192.168.7.20:80"};

std::vector<std::string> With(std::vector<std::string> extra)
{
    std::vector<std::string> options = kNames;
    options.insert(options.end(), extra.begin(), extra.end());
    return options;
}

}  // namespace

TEST(DdnsLookup, ResolvesRegisteredNamesHoweverTheReplyArrives)
{
    const int threadsBefore = ThreadCount();
    const std::vector<std::vector<std::string>> variants = {
        {},
        {"--port-first"},
        {"--junk", "23"},
        {"--split", "5", "--pause", "60"},
        {"--port-first", "--junk", "3", "--split", "14", "--pause", "10"},
    };
    for (const auto& variant : variants) {
        DdnsEmulatorProcess server;
        ASSERT_TRUE(server.Start(With(variant))) << server.Error();
        const DdnsLookupResult result = ResolveDdnsName("cam1", "127.0.0.1", server.Port());
        EXPECT_EQ(result.kind, DdnsLookupResult::Resolved) << server.Output();
        EXPECT_EQ(result.address, "10.1.2.3");
        EXPECT_EQ(result.port, 7050);
        EXPECT_EQ(SettledThreadCount(threadsBefore), threadsBefore) << "the lookup thread ended and was joined";
    }
}

TEST(DdnsLookup, ServerGivenByHostNameNamesMatchWithoutCaseAndUnknownNamesAreNotRegistered)
{
    DdnsEmulatorProcess server;
    ASSERT_TRUE(server.Start(With({"--split", "3", "--pause", "20"}))) << server.Error();
    const DdnsLookupResult result = ResolveDdnsName("SHOP", "localhost", server.Port());
    EXPECT_EQ(result.kind, DdnsLookupResult::Resolved);
    EXPECT_EQ(result.address, "192.168.7.20");
    EXPECT_EQ(result.port, 80);

    const DdnsLookupResult unknown = ResolveDdnsName("nobody", "127.0.0.1", server.Port());
    EXPECT_EQ(unknown.kind, DdnsLookupResult::NotRegistered);
    EXPECT_TRUE(unknown.address.empty());
    EXPECT_EQ(DdnsLookupMessage(unknown.kind), "Invalid DDNS!");
    EXPECT_EQ(server.QueryCount(), 2);
}

TEST(DdnsLookup, NameNoQueryCanCarryIsRefusedWithoutAsking)
{
    DdnsEmulatorProcess server;
    ASSERT_TRUE(server.Start(kNames)) << server.Error();
    for (const std::string& name : {std::string(255, 'n'), std::string("cam\xCE"), std::string("cam1\0x", 6)}) {
        const auto start = Clock::now();
        EXPECT_EQ(ResolveDdnsName(name, "127.0.0.1", server.Port()).kind, DdnsLookupResult::NotRegistered);
        EXPECT_LT(MillisecondsSince(start), 1000);
    }
    EXPECT_EQ(server.QueryCount(), 0) << server.Output();
}

TEST(DdnsLookup, RefusedConnectionFailsAtOnceAndAnUnknownServerStartsNothing)
{
    const int threadsBefore = ThreadCount();
    const auto start = Clock::now();
    const DdnsLookupResult result = ResolveDdnsName("cam1", "127.0.0.1", FreeTcpPort());
    EXPECT_EQ(result.kind, DdnsLookupResult::ConnectionFailed);
    EXPECT_LT(MillisecondsSince(start), 1000);
    EXPECT_EQ(DdnsLookupMessage(result.kind), "DDNS Connection Failed!");

    EXPECT_EQ(ResolveDdnsName("cam1", "", 2780).kind, DdnsLookupResult::ServerNotFound);
    EXPECT_EQ(ResolveDdnsName("cam1", "127.0.0.1", 0).kind, DdnsLookupResult::ServerNotFound);
    EXPECT_TRUE(DdnsLookupMessage(DdnsLookupResult::ServerNotFound).empty());
    EXPECT_EQ(SettledThreadCount(threadsBefore), threadsBefore);
}

TEST(DdnsLookup, SilentServerCostsTheWaitAndNoMore)
{
    DdnsEmulatorProcess server;
    ASSERT_TRUE(server.Start(With({"--reply", "silent"}))) << server.Error();
    const int threadsBefore = ThreadCount();
    const auto start = Clock::now();
    const DdnsLookupResult result = ResolveDdnsName("cam1", "127.0.0.1", server.Port());
    const long elapsed = MillisecondsSince(start);
    EXPECT_EQ(result.kind, DdnsLookupResult::TimedOut);
    EXPECT_GE(elapsed, 2900);
    EXPECT_LT(elapsed, 4000);
    EXPECT_TRUE(DdnsLookupMessage(result.kind).empty()) << "a time-out shows no message";
    EXPECT_EQ(SettledThreadCount(threadsBefore), threadsBefore);
    EXPECT_EQ(server.QueryCount(), 1) << "the query was sent";
}

TEST(DdnsLookup, UnusableRepliesAreNoAnswer)
{
    // Garbage and overlong frames are dropped: the caller's wait runs out.
    for (const char* mode : {"garbage", "overlong"}) {
        DdnsEmulatorProcess server;
        ASSERT_TRUE(server.Start(With({"--reply", mode}))) << server.Error();
        const DdnsLookupResult result = ResolveDdnsName("cam1", "127.0.0.1", server.Port(), 400);
        EXPECT_EQ(result.kind, DdnsLookupResult::TimedOut) << mode;
        EXPECT_TRUE(result.address.empty());
        EXPECT_EQ(server.QueryCount(), 1) << mode;
    }
    // A server that hangs up without a word ends the wait at once.
    DdnsEmulatorProcess server;
    ASSERT_TRUE(server.Start(With({"--reply", "close"}))) << server.Error();
    const auto start = Clock::now();
    EXPECT_EQ(ResolveDdnsName("cam1", "127.0.0.1", server.Port()).kind, DdnsLookupResult::NoAnswer);
    EXPECT_LT(MillisecondsSince(start), 1000);
}

TEST(DdnsEmulator, StopsCleanlyAndRefusesOutsideAddresses)
{
    DdnsEmulatorProcess server;
    ASSERT_TRUE(server.Start(kNames)) << server.Error();
    EXPECT_EQ(ResolveDdnsName("cam1", "127.0.0.1", server.Port()).kind, DdnsLookupResult::Resolved);
    EXPECT_EQ(server.Stop(), 0);

    DdnsEmulatorProcess outside;
    EXPECT_FALSE(outside.Start({"--listen", "192.0.2.1:2780"}));
    EXPECT_FALSE(outside.Start({"--name", "cam1=10.1.2.3"})) << "a registration needs a port";
}
