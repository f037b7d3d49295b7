#include "support/processes/DdnsEmulatorProcess.h"
#include "support/processes/ProcessResources.h"
#include "support/processes/FreePort.h"

#include "platform/ddns/DdnsThreadMessages.h"
#include "platform/ddns/VDNSInterfaceThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

namespace {

// Starts the thread and takes it to the point where resolve may be posted.
void StartReady(CVDNSInterfaceThread& thread, const std::string& name, std::uint16_t port,
                const std::string& server = "127.0.0.1")
{
    thread.SetNameText(name);
    thread.SetServerAddress(server);
    thread.SetServerPort(port);
    ASSERT_TRUE(thread.CreateThread());
    thread.DoneEvent().Wait();
    EXPECT_TRUE(thread.IsReady());
    thread.DoneEvent().Reset();
}

void QuitAndJoin(CVDNSInterfaceThread& thread)
{
    thread.PostThreadMessage(ddns::kMsgQuit);
    thread.Join();
    EXPECT_TRUE(thread.HasEnded());
    EXPECT_EQ(thread.ExitCode(), 0);
}

}  // namespace

TEST(VDNSInterfaceThread, ReadySignalsOnceAndTheFirstAnswerFillsTheOutputs)
{
    DdnsEmulatorProcess server;
    ASSERT_TRUE(server.Start({"--name", "cam1=10.1.2.3:7050"})) << server.Error();
    CVDNSInterfaceThread thread;
    StartReady(thread, "cam1", server.Port());
    // Later idle moments do not signal again; nothing happens before resolve.
    EXPECT_FALSE(thread.DoneEvent().WaitFor(150ms));
    EXPECT_EQ(thread.ResultFlags(), 0u);
    EXPECT_EQ(server.QueryCount(), 0);

    thread.PostThreadMessage(ddns::kMsgResolve);
    ASSERT_TRUE(thread.DoneEvent().WaitFor(3000ms));
    EXPECT_EQ(thread.ResultFlags(), CVDNSInterfaceThread::kResolved);
    EXPECT_EQ(thread.NameText(), "10.1.2.3") << "the name text now holds the address";
    EXPECT_EQ(thread.Port(), 7050u);
    // A second reply-complete (as from a second frame) neither signals nor changes the result.
    thread.DoneEvent().Reset();
    thread.PostThreadMessage(ddns::kMsgReplyComplete);
    EXPECT_FALSE(thread.DoneEvent().WaitFor(200ms));
    EXPECT_EQ(thread.NameText(), "10.1.2.3");
    QuitAndJoin(thread);
}

TEST(VDNSInterfaceThread, FlagsForRejectedNameAndRefusedConnection)
{
    DdnsEmulatorProcess server;
    ASSERT_TRUE(server.Start({"--name", "cam1=10.1.2.3:7050"})) << server.Error();
    {
        CVDNSInterfaceThread thread;
        StartReady(thread, "cam2", server.Port());
        thread.PostThreadMessage(ddns::kMsgResolve);
        ASSERT_TRUE(thread.DoneEvent().WaitFor(3000ms));
        EXPECT_EQ(thread.ResultFlags(), CVDNSInterfaceThread::kNotRegistered);
        EXPECT_EQ(thread.NameText(), "cam2") << "a rejected name is left as it was";
        QuitAndJoin(thread);
    }
    for (const std::string& address : {std::string("127.0.0.1"), std::string("not an address")}) {
        CVDNSInterfaceThread thread;
        StartReady(thread, "cam1", FreeTcpPort(), address);
        thread.PostThreadMessage(ddns::kMsgResolve);
        ASSERT_TRUE(thread.DoneEvent().WaitFor(3000ms));
        EXPECT_EQ(thread.ResultFlags(), CVDNSInterfaceThread::kNoConnection) << address;
        QuitAndJoin(thread);
    }
}

TEST(VDNSInterfaceThread, EndsInEveryStateWithoutLeaking)
{
    DdnsEmulatorProcess silent;
    ASSERT_TRUE(silent.Start({"--reply", "silent"})) << silent.Error();
    const int threadsBefore = ThreadCount();
    for (int round = 0; round < 20; ++round) {
        auto thread = std::make_unique<CVDNSInterfaceThread>();
        switch (round % 4) {
        case 0:  // never started
            break;
        case 1:  // started, never told anything: the destructor ends it
            thread->CreateThread();
            break;
        case 2:  // waiting on a silent server: quit ends it
            StartReady(*thread, "cam1", silent.Port());
            thread->PostThreadMessage(ddns::kMsgResolve);
            EXPECT_FALSE(thread->DoneEvent().WaitFor(50ms));
            QuitAndJoin(*thread);
            break;
        case 3:  // quit posted before the thread ever ran
            thread->PostThreadMessage(ddns::kMsgQuit);
            thread->CreateThread();
            thread->Join();
            EXPECT_TRUE(thread->HasEnded());
            break;
        }
        thread.reset();
        EXPECT_EQ(SettledThreadCount(threadsBefore), threadsBefore) << "round " << round;
    }
}
