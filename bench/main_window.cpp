// Sixteen live cameras through the real main window: a dvr-emulator recorder
// (MODEL_C, sixteen 704 x 576 H.264 cameras at 25 pictures a second) on a
// loopback port, the viewer's main window made offscreen and connected to it
// as a user would (network library, live callback, reassembly, Demux, decode,
// scale, the video window's paint, the overlay, the window's timers). After a
// warm-up it measures N seconds: process CPU time per picture shown in a
// pane. Baseline, in the same run, before and after: plain libavcodec decode
// and swscale to the pane size of the very camera loops the emulator sends,
// read from its cache folder. Reports the ratio of the two and what the
// overload policy skipped and the slots dropped.
//
//   bench_main_window [--seconds N]
//
// N seconds measured (default 10). The recorder process's own CPU is not
// counted: it stands for the recorder, not the client.

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

extern "C" {
#include <libavutil/log.h>
}

#include "bench/support/BaselineRun.h"
#include "bench/support/CameraLoops.h"
#include "bench/support/ProcessMeter.h"
#include "bench/support/RecorderEmulator.h"
#include "core/video/LayoutGeometry.h"
#include "platform/decoder/LiveDecoder.h"
#include "ui/app/COrlixDlg.h"
#include "ui/viewer/LiveViewer.h"

namespace {

using namespace benchsupport;

constexpr int kChannels = 16;
constexpr int kFps = 25;
constexpr int kPaneWidth = kVideoWindowWidth / 4;
constexpr int kPaneHeight = kVideoWindowHeight / 4;
constexpr int kWarmUpSeconds = 3;
constexpr int kBaselineSeconds = 8;

int ParseSeconds(int argc, char** argv)
{
    int seconds = 10;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            seconds = std::atoi(argv[++i]);
        } else {
            seconds = 0;
            break;
        }
    }
    if (seconds < 1 || seconds > 3600) {
        std::fprintf(stderr, "usage: %s [--seconds N]\n", argv[0]);
        std::exit(2);
    }
    return seconds;
}

// Runs the window's event loop for a while.
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

struct Totals {
    unsigned long long decoded = 0, presented = 0, skipped = 0, dropped = 0;
    int channelsShowing = 0;
};

Totals Count(CLiveDecoder& decoder)
{
    Totals totals;
    for (int channel = 0; channel < kChannels; ++channel) {
        const auto stats = decoder.GetStats(channel);
        totals.decoded += stats.decoded;
        totals.presented += stats.presented;
        totals.skipped += stats.skipped;
        totals.dropped += stats.dropped;
        totals.channelsShowing += stats.presented > 0 ? 1 : 0;
    }
    return totals;
}

struct WindowRun {
    bool ok = false;
    double cpu = 0;
    double windowThreadCpu = 0;  // the user-interface thread's share
    std::vector<std::pair<double, int>> threadCpu;  // seconds and thread id, most first
    Totals during;
    long rssStartKb = 0, rssMiddleKb = 0, rssEndKb = 0;
};

WindowRun RunMainWindow(std::uint16_t port, int seconds)
{
    WindowRun run;
    COrlixDlg dialog;
    dialog.show();
    if (!dialog.Connect("127.0.0.1", QString::number(port), "TCP", "ADMIN", "5829")) {
        std::fprintf(stderr, "the main window could not connect to the recorder\n");
        return run;
    }
    CLiveDecoder& decoder = dialog.Viewer().Decoder();
    if (!RunEventsUntil([&] { return Count(decoder).channelsShowing == kChannels; }, std::chrono::seconds(60))) {
        std::fprintf(stderr, "only %d of %d panes showed pictures\n", Count(decoder).channelsShowing, kChannels);
        return run;
    }
    RunEvents(std::chrono::seconds(kWarmUpSeconds));

    const Totals before = Count(decoder);
    const double cpuStart = CpuSeconds();
    const double threadStart = ThreadCpuSeconds();
    const auto threadsStart = CpuSecondsByThread();
    run.rssStartKb = ResidentKb();
    RunEvents(std::chrono::milliseconds(seconds * 500));
    run.rssMiddleKb = ResidentKb();
    RunEvents(std::chrono::milliseconds(seconds * 500));
    run.cpu = CpuSeconds() - cpuStart;
    run.windowThreadCpu = ThreadCpuSeconds() - threadStart;
    for (const auto& [tid, cpu] : CpuSecondsByThread()) {
        const auto before = threadsStart.find(tid);
        run.threadCpu.emplace_back(cpu - (before == threadsStart.end() ? 0.0 : before->second), tid);
    }
    std::sort(run.threadCpu.rbegin(), run.threadCpu.rend());
    run.rssEndKb = ResidentKb();
    const Totals after = Count(decoder);
    run.during.decoded = after.decoded - before.decoded;
    run.during.presented = after.presented - before.presented;
    run.during.skipped = after.skipped - before.skipped;
    run.during.dropped = after.dropped - before.dropped;
    dialog.CloseAllSessions();
    run.ok = true;
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = ParseSeconds(argc, argv);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char pattern[] = "/tmp/ombrel-bench-window-XXXXXX";
    if (!::mkdtemp(pattern)) {
        std::fprintf(stderr, "cannot make a work folder\n");
        return 1;
    }
    const std::string folder = pattern;
    // The window's drive C: and registry live in the work folder, not the user's.
    setenv("DVR_DRIVE_C", (folder + "/c").c_str(), 1);
    setenv("DVR_REGISTRY", (folder + "/registry.db").c_str(), 1);
    std::filesystem::create_directories(folder + "/c");
    QApplication app(argc, argv);
    av_log_set_level(AV_LOG_ERROR);

    RecorderEmulator emulator;
    std::string error;
    std::printf("starting the recorder emulator (the first start encodes its cameras)...\n");
    if (!emulator.Start(std::string(OMBREL_BIN_DIR) + "/dvr-emulator", "MODEL_C", folder + "/recorder", &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const auto loops = ReadCameraLoops(emulator.CacheDir());
    if (loops.size() != kChannels) {
        std::fprintf(stderr, "expected %d camera loops in %s, found %zu\n", kChannels, emulator.CacheDir().c_str(),
                     loops.size());
        return 1;
    }
    double rate = 0;
    for (const auto& loop : loops)
        rate += LoopBitRate(loop, kFps);
    std::printf("recorder on 127.0.0.1:%u: %d cameras at %.2f Mb/s each on average\n", emulator.Port(), kChannels,
                rate / kChannels / 1e6);

    std::printf("load average before: %.2f\n", LoadAverage());
    const int pictures = kBaselineSeconds * kFps;
    const BaselineResult baseBefore = RunBaseline(loops, pictures, false, kPaneWidth, kPaneHeight);
    const BaselineResult inTurnBefore = RunBaseline(loops, pictures, true, kPaneWidth, kPaneHeight);
    const WindowRun window = RunMainWindow(emulator.Port(), seconds);
    emulator.Stop();
    const BaselineResult baseAfter = RunBaseline(loops, pictures, false, kPaneWidth, kPaneHeight);
    const BaselineResult inTurnAfter = RunBaseline(loops, pictures, true, kPaneWidth, kPaneHeight);
    std::printf("load average after: %.2f\n", LoadAverage());
    std::filesystem::remove_all(folder);
    if (!window.ok)
        return 1;

    const double perPicture =
        window.during.presented ? window.cpu * 1000.0 / static_cast<double>(window.during.presented) : 0.0;
    const double base = (baseBefore.MsPerPicture() + baseAfter.MsPerPicture()) / 2;
    const double inTurn = (inTurnBefore.MsPerPicture() + inTurnAfter.MsPerPicture()) / 2;
    std::printf("main window, %d s: cpu %.3f s, decoded %llu, shown %llu (offered about %d), skipped %llu, dropped "
                "%llu, %.3f ms cpu per picture shown\n",
                seconds, window.cpu, window.during.decoded, window.during.presented, kChannels * kFps * seconds,
                window.during.skipped, window.during.dropped, perPicture);
    std::printf("of which the user-interface thread (paint, overlay, timers): %.3f s, %.3f ms per picture shown\n",
                window.windowThreadCpu,
                window.during.presented ? window.windowThreadCpu * 1000.0 / static_cast<double>(window.during.presented)
                                        : 0.0);
    std::printf("threads (s cpu):");
    const int uiThread = static_cast<int>(::gettid());
    for (const auto& [cpu, tid] : window.threadCpu)
        if (cpu >= 0.01)
            std::printf(" %s%.2f", tid == uiThread ? "user interface " : "", cpu);
    std::printf("\n");
    std::printf("resident memory (kB): start %ld, middle %ld, end %ld\n", window.rssStartKb, window.rssMiddleKb,
                window.rssEndKb);
    std::printf("baseline (libavcodec + swscale to %dx%d): %.3f ms cpu per picture before, %.3f after; cameras in "
                "turn %.3f before, %.3f after\n",
                kPaneWidth, kPaneHeight, baseBefore.MsPerPicture(), baseAfter.MsPerPicture(),
                inTurnBefore.MsPerPicture(), inTurnAfter.MsPerPicture());
    if (base > 0 && inTurn > 0)
        std::printf("ratio main window/baseline: %.2f (against cameras in turn: %.2f)\n", perPicture / base,
                    perPicture / inTurn);
    return 0;
}
