#include "ProcessResources.h"

#include <chrono>
#include <filesystem>
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
    static const bool warmedUp = [] {
        std::thread([] {}).join();
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
