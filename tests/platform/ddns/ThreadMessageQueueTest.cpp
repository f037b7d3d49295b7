#include "platform/ddns/ManualResetEvent.h"
#include "platform/ddns/ThreadMessageQueue.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <thread>

using namespace std::chrono_literals;

namespace {

bool WakeFdReadable(const ThreadMessageQueue& queue)
{
    pollfd fd{queue.WakeFd(), POLLIN, 0};
    return ::poll(&fd, 1, 0) == 1 && (fd.revents & POLLIN);
}

}  // namespace

TEST(ThreadMessageQueue, WakeDescriptorIsReadableExactlyWhileMessagesWait)
{
    ThreadMessageQueue queue;
    ASSERT_TRUE(queue.Valid());
    EXPECT_FALSE(WakeFdReadable(queue));
    queue.Post({5024, 1, -1});
    queue.Post({5025, 2, -2});
    EXPECT_TRUE(WakeFdReadable(queue));
    const auto first = queue.TryTake();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->message, 5024u);
    EXPECT_EQ(first->lParam, -1);
    EXPECT_EQ(queue.TryTake()->message, 5025u) << "in posting order";
    EXPECT_FALSE(queue.TryTake());
    EXPECT_FALSE(WakeFdReadable(queue)) << "an empty queue lets the thread sleep";
}

TEST(ThreadMessageQueue, MessagesFromOtherThreadsAllArrive)
{
    ThreadMessageQueue queue;
    constexpr int kPerThread = 500;
    std::thread a([&] { for (int i = 0; i < kPerThread; ++i) queue.Post({1, static_cast<WPARAM>(i), 0}); });
    std::thread b([&] { for (int i = 0; i < kPerThread; ++i) queue.Post({2, static_cast<WPARAM>(i), 0}); });
    int taken = 0;
    WPARAM nextA = 0, nextB = 0;
    while (taken < 2 * kPerThread) {
        pollfd fd{queue.WakeFd(), POLLIN, 0};
        ASSERT_EQ(::poll(&fd, 1, 2000), 1) << "a posted message always wakes the taker";
        while (const auto message = queue.TryTake()) {
            WPARAM& next = message->message == 1 ? nextA : nextB;
            EXPECT_EQ(message->wParam, next++);
            ++taken;
        }
    }
    a.join();
    b.join();
}

TEST(ManualResetEvent, StaysSetUntilResetAndWakesEveryWaiter)
{
    ManualResetEvent event;
    EXPECT_FALSE(event.WaitFor(20ms));
    std::thread first([&] { event.Wait(); });
    std::thread second([&] { event.Wait(); });
    event.Set();
    first.join();
    second.join();
    EXPECT_TRUE(event.IsSet());
    EXPECT_TRUE(event.WaitFor(0ms)) << "manual reset: still signalled";
    event.Reset();
    EXPECT_FALSE(event.WaitFor(20ms));
}
