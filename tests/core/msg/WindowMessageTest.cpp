#include "core/msg/WindowMessage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct CountingReceiver : CMessageReceiver {
    std::atomic<int> count{0};
    void OnPostedMessage(unsigned, WPARAM, LPARAM) override { ++count; }
};

TEST(WindowMessage, PostsReachOnlyRegisteredReceivers)
{
    CountingReceiver receiver;
    HWND window = RegisterMessageReceiver(&receiver);
    EXPECT_TRUE(PostWindowMessage(window, 1224, 7, 101));
    UnregisterMessageReceiver(window);
    EXPECT_FALSE(PostWindowMessage(window, 1224, 7, 101));
    EXPECT_FALSE(PostWindowMessage(0, 1224, 7, 101));
    EXPECT_EQ(receiver.count.load(), 1);
}

TEST(WindowMessage, UnregisterWhilePostingFromOtherThreadsNeverDeliversLate)
{
    auto* receiver = new CountingReceiver;
    HWND window = RegisterMessageReceiver(receiver);
    std::atomic<bool> stop{false};
    std::vector<std::thread> posters;
    for (int i = 0; i < 2; ++i)
        posters.emplace_back([&] {
            for (int n = 0; n < 100000 && !stop; ++n)
                PostWindowMessage(window, 1224, 0, 0);
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    UnregisterMessageReceiver(window);
    delete receiver; // a late delivery would touch freed memory
    stop = true;
    for (auto& t : posters)
        t.join();
}

} // namespace
