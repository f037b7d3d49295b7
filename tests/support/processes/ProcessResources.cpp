#include "ProcessResources.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace {

int CountEntries(const char* folder)
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

} // namespace

int ThreadCount()
{
    // A sanitizer runtime starts a helper thread along with the first thread
    // of the process: let that happen before anyone counts.
    // The joined thread itself can stay listed for a moment: wait until it
    // is gone, or the first count would take it for one of the process's.
    static const bool warmedUp = [] {
        pid_t tid = 0;
        std::thread([&tid] { tid = ::gettid(); }).join();
        const std::string entry = "/proc/self/task/" + std::to_string(tid);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (std::filesystem::exists(entry) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return true;
    }();
    (void)warmedUp;
    return CountEntries("/proc/self/task");
}

int OpenFdCount() { return CountEntries("/proc/self/fd"); }

int SettledThreadCount(int expected)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    int count = ThreadCount();
    while (count != expected && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        count = ThreadCount();
    }
    return count;
}
