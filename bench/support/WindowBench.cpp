#include "bench/support/WindowBench.h"

#include <QEventLoop>
#include <QTimer>

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace benchsupport {

std::string PrepareWindowWorkFolder(const char* benchName)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string pattern = std::string("/tmp/ombrel-bench-") + benchName + "-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        return {};
    setenv("DVR_DRIVE_C", (pattern + "/c").c_str(), 1);
    setenv("DVR_REGISTRY", (pattern + "/registry.db").c_str(), 1);
    std::filesystem::create_directories(pattern + "/c");
    return pattern;
}

void RunEvents(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

bool RunEventsUntil(const std::function<bool()>& done, std::chrono::seconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        RunEvents(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace benchsupport
