#include "bench/support/WindowBench.h"

#include "bench/support/BitRateText.h"

#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <unistd.h>

namespace benchsupport {

WindowBenchOptions ParseWindowBenchOptions(int argc, char** argv)
{
    WindowBenchOptions options;
    bool good = true;
    for (int i = 1; i < argc && good; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--seconds") == 0 && hasValue)
            options.seconds = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--rounds") == 0 && hasValue)
            options.rounds = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--bitrate") == 0 && hasValue)
            good = (options.bitRate = ParseBitRate(argv[++i])) > 0;
        else if (std::strcmp(argv[i], "--content") == 0 && hasValue) {
            const auto content = emulator::media::ParseCameraContent(argv[++i]);
            good = content.has_value();
            options.content = content.value_or(options.content);
        } else
            good = false;
    }
    if (!good || options.seconds < 1 || options.seconds > 3600 || options.rounds < 1 || options.rounds > 20) {
        std::fprintf(stderr, "usage: %s [--content plain|hard] [--seconds N] [--rounds R] [--bitrate BITS[k|M]]\n",
                     argv[0]);
        std::exit(2);
    }
    return options;
}

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
