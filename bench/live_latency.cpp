// How long a live picture takes from the recorder to the screen, and a
// connection to its first picture. A dvr-emulator recorder (MODEL_C, sixteen
// 704 x 576 H.264 cameras at 25 pictures a second) on a loopback port writes,
// with --send-times, when each picture's last fragment left it; the real main
// window, made offscreen and connected as a user would, records through the
// decoder's paint observer when each picture (channel and PTS) was first
// painted. Both clocks are the machine's monotonic clock.
//
//   bench_live_latency [--content plain|hard] [--seconds N] [--rounds R] [--bitrate BITS]
//
// Each of R rounds (default 3) opens a new main window and connects it: the
// time from Connect to the first painted picture (and to a picture in all
// sixteen panes), then, after a warm-up, N seconds (default 10) of pictures:
// latency p50, p99 and max of those painted, and how many were never painted
// (skipped by the overload policy or replaced before a paint). Baseline, in
// the same run before and after: one picture's decode (plain single-threaded
// libavcodec, plus swscale to the pane) of the very loops the emulator sends,
// wall time, median of 800. The goals: p99 at most two display refreshes
// (2 x 16.7 ms) plus one decode; the first picture within 500 ms.

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

#include "bench/support/BaselineDecoder.h"
#include "bench/support/EmulatorLoops.h"
#include "bench/support/PaintTimes.h"
#include "bench/support/ProcessMeter.h"
#include "bench/support/RecorderEmulator.h"
#include "bench/support/SendTimeFile.h"
#include "bench/support/Spread.h"
#include "bench/support/WindowBench.h"
#include "core/video/LayoutGeometry.h"
#include "platform/decoder/LiveDecoder.h"
#include "ui/app/COrlixDlg.h"
#include "ui/viewer/LiveViewer.h"

namespace {

using namespace benchsupport;
using Clock = std::chrono::steady_clock;

constexpr int kChannels = 16;
constexpr int kPaneWidth = kVideoWindowWidth / 4;
constexpr int kPaneHeight = kVideoWindowHeight / 4;
constexpr int kWarmUpSeconds = 2;
// A picture sent at the end of the measured time still gets this long to be painted.
constexpr auto kLastPaintGrace = std::chrono::seconds(1);
constexpr int kDecodesPerCamera = 50;
constexpr double kDisplayRefreshMs = 1000.0 / 60;
constexpr double kFirstPictureGoalMs = 500;

double Ms(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// One picture's decode and scale, wall time, over the first pictures of every camera.
Spread DecodeBaseline(const std::vector<std::vector<AccessUnit>>& loops)
{
    std::vector<double> times;
    for (const auto& loop : loops) {
        BaselineDecoder decoder(kPaneWidth, kPaneHeight);
        for (int i = 0; i < kDecodesPerCamera; ++i) {
            const AccessUnit& unit = loop[size_t(i) % loop.size()];
            const Clock::time_point start = Clock::now();
            decoder.Decode(unit.data(), unit.size());
            times.push_back(Ms(Clock::now() - start));
        }
    }
    return SpreadOf(std::move(times));
}

struct Round {
    bool ok = false;
    double connectCallMs = 0;     // Connect itself (log-in and live start)
    double firstPictureMs = 0;    // Connect to the first painted picture
    double everyPaneMs = 0;       // Connect to a picture in all sixteen panes
    Spread latency;               // last fragment sent to first paint, ms
    std::size_t sent = 0;         // pictures sent in the measured time
    double load = 0;
};

Round RunRound(std::uint16_t port, const std::string& sendTimesPath, int seconds)
{
    Round round;
    PaintTimes paints;  // outlives the window, which paints until it is gone
    COrlixDlg dialog;
    dialog.show();
    CLiveDecoder& decoder = dialog.Viewer().Decoder();
    decoder.SetPaintObserver(&paints);
    const Clock::time_point connectStart = Clock::now();
    const bool connected = dialog.Connect("127.0.0.1", QString::number(port), "TCP", "ADMIN", "5829");
    round.connectCallMs = Ms(Clock::now() - connectStart);
    if (!connected) {
        std::fprintf(stderr, "the main window could not connect to the recorder\n");
        return round;
    }
    if (!RunEventsUntil([&] { return paints.ChannelsShowing() == kChannels; }, std::chrono::seconds(60))) {
        std::fprintf(stderr, "only %d of %d panes showed pictures\n", paints.ChannelsShowing(), kChannels);
        return round;
    }
    round.firstPictureMs = Ms(*paints.FirstOfAnyChannel() - connectStart);
    round.everyPaneMs = Ms(*paints.FirstOfEveryChannel() - connectStart);

    RunEvents(std::chrono::seconds(kWarmUpSeconds));
    const Clock::time_point from = Clock::now();
    RunEvents(std::chrono::seconds(seconds));
    const Clock::time_point to = Clock::now();
    RunEvents(std::chrono::duration_cast<std::chrono::milliseconds>(kLastPaintGrace));
    round.load = LoadAverage();
    dialog.CloseAllSessions();

    std::vector<double> latencies;
    for (const SentUnit& unit : ReadSendTimes(sendTimesPath)) {
        if (unit.at < from || unit.at >= to)
            continue;
        ++round.sent;
        // MODEL_C's camera c is the single session's channel c.
        if (const auto painted = paints.FirstPaint(unit.camera, unit.pts))
            latencies.push_back(Ms(*painted - unit.at));
    }
    round.latency = SpreadOf(std::move(latencies));
    round.ok = true;
    return round;
}

void PrintRound(int number, int rounds, const Round& round, double goalMs)
{
    std::printf("round %d of %d, load average %.2f\n", number, rounds, round.load);
    std::printf("  Connect call %.0f ms; first picture painted %.0f ms after Connect (goal %.0f ms: %s); all %d "
                "panes %.0f ms\n",
                round.connectCallMs, round.firstPictureMs, kFirstPictureGoalMs,
                round.firstPictureMs <= kFirstPictureGoalMs ? "met" : "missed", kChannels, round.everyPaneMs);
    const std::size_t unpainted = round.sent - round.latency.count;
    std::printf("  latency, last fragment sent to painted, %zu of %zu pictures (%zu never painted): p50 %.1f ms, "
                "p99 %.1f ms, max %.1f ms (goal p99 <= %.1f ms: %s)\n",
                round.latency.count, round.sent, unpainted, round.latency.p50, round.latency.p99,
                round.latency.max, goalMs, round.latency.p99 <= goalMs ? "met" : "missed");
}

} // namespace

int main(int argc, char** argv)
{
    const WindowBenchOptions options = ParseWindowBenchOptions(argc, argv);
    const std::string folder = PrepareWindowWorkFolder("latency");
    if (folder.empty()) {
        std::fprintf(stderr, "cannot make a work folder\n");
        return 1;
    }
    QApplication app(argc, argv);
    av_log_set_level(AV_LOG_ERROR);

    const std::string sendTimesPath = folder + "/send-times.txt";
    RecorderEmulator emulator;
    std::string error;
    std::printf("starting the recorder emulator (the first start encodes its cameras)...\n");
    if (!emulator.Start(std::string(OMBREL_BIN_DIR) + "/dvr-emulator", "MODEL_C", folder + "/recorder", &error,
                        options.bitRate, options.content, {"--send-times", sendTimesPath})) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const auto loops = MakeEmulatorLoops(options.content, options.bitRate, &error);
    if (loops.size() != kChannels) {
        std::fprintf(stderr, "the camera loops for the baseline: %s\n", error.c_str());
        return 1;
    }
    std::printf("recorder on 127.0.0.1:%u: %d cameras, content %s, %ld b/s asked\n", emulator.Port(), kChannels,
                emulator::media::CameraContentName(options.content), options.bitRate);
    std::printf("load average before: %.2f\n", LoadAverage());

    const Spread decodeBefore = DecodeBaseline(loops);
    std::vector<Round> rounds;
    for (int number = 1; number <= options.rounds; ++number) {
        const Round round = RunRound(emulator.Port(), sendTimesPath, options.seconds);
        if (!round.ok) {
            std::filesystem::remove_all(folder);
            return 1;
        }
        rounds.push_back(round);
    }
    const Spread decodeAfter = DecodeBaseline(loops);
    emulator.Stop();
    std::filesystem::remove_all(folder);

    const double decodeMs = (decodeBefore.p50 + decodeAfter.p50) / 2;
    const double goalMs = 2 * kDisplayRefreshMs + decodeMs;
    std::printf("baseline, one picture's decode and scale to the pane (wall time, median of %zu): %.2f ms before, "
                "%.2f ms after (p99 %.2f / %.2f ms)\n",
                decodeBefore.count, decodeBefore.p50, decodeAfter.p50, decodeBefore.p99, decodeAfter.p99);
    for (std::size_t i = 0; i < rounds.size(); ++i) {
        PrintRound(int(i + 1), options.rounds, rounds[i], goalMs);
        std::printf("  ratios to one decode: p50 %.1f, p99 %.1f, max %.1f; p99 to the goal %.2f\n",
                    rounds[i].latency.p50 / decodeMs, rounds[i].latency.p99 / decodeMs,
                    rounds[i].latency.max / decodeMs, rounds[i].latency.p99 / goalMs);
    }
    return 0;
}
