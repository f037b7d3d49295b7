// Sixteen live cameras through the real main window: a dvr-emulator recorder
// (MODEL_C, sixteen 704 x 576 H.264 cameras at 25 pictures a second) on a
// loopback port, the viewer's main window made offscreen and connected to it
// as a user would (network library, live callback, reassembly, Demux, decode,
// scale, the video window's paint, the overlay, the window's timers). After a
// warm-up it measures N seconds: process CPU time per picture shown in a
// pane. Baseline, in the same run, before and after: plain libavcodec decode
// and swscale to the pane size of the very camera loops the emulator sends
// (made by the same media code under the same cache keys, so loaded from the
// emulator's loop cache), in the three orders of bench_live_path. Reports
// the ratio of the two and what the overload policy skipped and the slots
// dropped.
//
//   bench_main_window [--content plain|hard] [--seconds N] [--rounds R] [--bitrate BITS]
//
// N seconds measured (default 10) in each of R rounds (default 3), each
// followed by the baselines again; a ratio a round against the baselines on
// either side, and their median. The content and BITS are the camera content
// and bit rate asked of the emulator (--camera-content, --camera-bitrate):
// plain (default) is the drawn street, cheap to decode; hard is busy, noisy
// and moving and costs a decoder about what a real camera does. BITS has an
// optional k or M suffix (default 1.5M, as in bench_live_path).
// The recorder process's own CPU is not counted: it stands for the recorder,
// not the client.

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

extern "C" {
#include <libavutil/log.h>
}

#include "bench/support/BaselineRun.h"
#include "bench/support/CameraLoops.h"
#include "bench/support/EmulatorLoops.h"
#include "bench/support/ProcessMeter.h"
#include "bench/support/RecorderEmulator.h"
#include "bench/support/WindowBench.h"
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
    run.threadCpu = ThreadCpuSince(threadsStart);
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

double PerPicture(const WindowRun& run)
{
    return run.during.presented ? run.cpu * 1000.0 / static_cast<double>(run.during.presented) : 0.0;
}

void PrintWindowRun(const WindowRun& window, int seconds)
{
    std::printf("main window, %d s: cpu %.3f s, decoded %llu, shown %llu (offered about %d), skipped %llu, dropped "
                "%llu, %.3f ms cpu per picture shown\n",
                seconds, window.cpu, window.during.decoded, window.during.presented, kChannels * kFps * seconds,
                window.during.skipped, window.during.dropped, PerPicture(window));
    std::printf("of which the user-interface thread (paint, overlay, timers): %.3f s, %.3f ms per picture shown\n",
                window.windowThreadCpu,
                window.during.presented ? window.windowThreadCpu * 1000.0 / static_cast<double>(window.during.presented)
                                        : 0.0);
    PrintThreadCpu(window.threadCpu, static_cast<int>(::gettid()), "user interface");
    std::printf("resident memory (kB): start %ld, middle %ld, end %ld\n", window.rssStartKb, window.rssMiddleKb,
                window.rssEndKb);
}

} // namespace

int main(int argc, char** argv)
{
    const WindowBenchOptions options = ParseWindowBenchOptions(argc, argv);
    const std::string folder = PrepareWindowWorkFolder("window");
    if (folder.empty()) {
        std::fprintf(stderr, "cannot make a work folder\n");
        return 1;
    }
    QApplication app(argc, argv);
    av_log_set_level(AV_LOG_ERROR);

    RecorderEmulator emulator;
    std::string error;
    std::printf("starting the recorder emulator (the first start encodes its cameras)...\n");
    if (!emulator.Start(std::string(OMBREL_BIN_DIR) + "/dvr-emulator", "MODEL_C", folder + "/recorder", &error,
                        options.bitRate, options.content)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const auto loops = MakeEmulatorLoops(options.content, options.bitRate, &error);
    if (loops.size() != kChannels) {
        std::fprintf(stderr, "the camera loops for the baselines: %s\n", error.c_str());
        return 1;
    }
    double rate = 0;
    for (const auto& loop : loops)
        rate += LoopBitRate(loop, kFps);
    std::printf("recorder on 127.0.0.1:%u: %d cameras, content %s, at %.2f Mb/s each on average\n", emulator.Port(),
                kChannels, emulator::media::CameraContentName(options.content), rate / kChannels / 1e6);

    std::printf("load average before: %.2f\n", LoadAverage());
    const int pictures = kBaselineSeconds * kFps;
    BaselineSet before = RunBaselines(loops, pictures, kPaneWidth, kPaneHeight, kFps);
    std::vector<BaselineRatios> ratios;
    for (int round = 1; round <= options.rounds; ++round) {
        const WindowRun window = RunMainWindow(emulator.Port(), options.seconds);
        if (!window.ok) {
            std::filesystem::remove_all(folder);
            return 1;
        }
        const BaselineSet after = RunBaselines(loops, pictures, kPaneWidth, kPaneHeight, kFps);
        std::printf("round %d of %d, load average %.2f\n", round, options.rounds, LoadAverage());
        PrintWindowRun(window, options.seconds);
        ratios.push_back(
            PrintBaselineRatios("main window", PerPicture(window), before, after, kPaneWidth, kPaneHeight));
        before = after;
    }
    emulator.Stop();
    std::filesystem::remove_all(folder);
    PrintMedianRatios("main window", ratios);
    return 0;
}
