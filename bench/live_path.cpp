// Sixteen cameras of 704 x 576 H.264 at 25 pictures a second through the whole
// live path in the sixteen-pane layout: live callback, reassembly, stream-id
// rewrite, Demux, decode, scale to the 200 x 150 pane, paint into an 800 x 600
// picture. Baseline, in the same run: plain libavcodec decode of the same
// streams and swscale of every picture to the pane size, camera after camera,
// one picture of each camera in turn as live pictures come (the difference is
// what sixteen decoders cost the caches), and in turn at the live rate with
// the processor idle between frame periods as a live stream leaves it (what
// the idling costs); each measured before and after the live path so a
// change in the machine's load between them weighs on both sides alike. Reports process CPU time per displayed picture
// of each and their ratio, what the overload policy skipped and the slots
// dropped, how long the last pictures took to show after the stream ended,
// and resident memory over the run.
//
//   bench_live_path [--content plain|hard] [--bitrate BITS] [--seconds N] [--slowdown F] [--preset NAME]
//                   [--rounds R]
//
// The streams are the loops dvr-emulator sends with --camera-content C
// --camera-bitrate BITS (MODEL_C's sixteen cameras, 4 s each, taken from or
// added to the emulator's loop cache): plain (default) is the drawn street,
// cheap to decode; hard is busy, noisy and moving, coded as cameras code it,
// and costs a decoder about what a real camera does at the same rate. BITS
// per camera, with an optional k or M suffix (default 1.5M); N seconds of
// live stream (default 8; the baselines take at most 30 s of it, their cost
// per picture does not depend on the length); F stretches the sending time F
// times, so the path keeps up under an instruction-counting profiler (default
// 1). --preset NAME uses instead the moving gradient of earlier figures,
// 2 s per camera, coded with that x264 preset ("medium" with the high
// profile). The PES packets are made before the clock starts: the recorder
// makes them, the client only receives them. R rounds (default 3) of the
// live path, each followed by the baselines again, give a ratio a round
// against the baselines on either side and their median.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <unistd.h>

extern "C" {
#include <libavutil/log.h>
}

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include "bench/support/BaselineRun.h"
#include "bench/support/BitRateText.h"
#include "bench/support/CameraLoops.h"
#include "bench/support/EmulatorLoops.h"
#include "bench/support/H264Encoder.h"
#include "bench/support/ProcessMeter.h"
#include "core/media/PesPacketizer.h"
#include "core/msg/WindowMessage.h"
#include "core/net/LiveMessages.h"
#include "core/video/LayoutGeometry.h"
#include "core/video/PaintPacer.h"
#include "platform/decoder/LiveDecoder.h"
#include "platform/video/LiveChannels.h"
#include "platform/video/LiveMediaCallback.h"
#include "platform/video/LiveSessionState.h"

namespace {

using namespace benchsupport;

constexpr int kCameras = 16;
constexpr int kWidth = 704;
constexpr int kHeight = 576;
constexpr int kFps = 25;
constexpr int kGradientFrames = 50;  // two seconds, keyframe every second
constexpr int kPaneWidth = kVideoWindowWidth / 4;
constexpr int kPaneHeight = kVideoWindowHeight / 4;
constexpr int kMaxBaselineSeconds = 30;

using Unit = AccessUnit;

struct Options {
    long bitRate = 1500000;
    int seconds = 8;
    int slowdown = 1;
    int rounds = 3;
    emulator::media::CameraContent content = emulator::media::CameraContent::Plain;
    std::string preset;  // not empty: the gradient streams instead of the emulator's
};

[[noreturn]] void Usage(const char* program)
{
    std::fprintf(stderr,
                 "usage: %s [--content plain|hard] [--bitrate BITS[k|M]] [--seconds N] [--slowdown F] [--preset NAME] "
                 "[--rounds R]\n",
                 program);
    std::exit(2);
}

Options ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--bitrate") == 0 && hasValue) {
            options.bitRate = ParseBitRate(argv[++i]);
            if (options.bitRate < 0)
                Usage(argv[0]);
        } else if (std::strcmp(argv[i], "--seconds") == 0 && hasValue) {
            options.seconds = std::atoi(argv[++i]);
            if (options.seconds < 1 || options.seconds > 3600)
                Usage(argv[0]);
        } else if (std::strcmp(argv[i], "--slowdown") == 0 && hasValue) {
            options.slowdown = std::atoi(argv[++i]);
            if (options.slowdown < 1 || options.slowdown > 1000)
                Usage(argv[0]);
        } else if (std::strcmp(argv[i], "--rounds") == 0 && hasValue) {
            options.rounds = std::atoi(argv[++i]);
            if (options.rounds < 1 || options.rounds > 20)
                Usage(argv[0]);
        } else if (std::strcmp(argv[i], "--preset") == 0 && hasValue) {
            options.preset = argv[++i];
            if (options.preset.empty())
                Usage(argv[0]);
        } else if (std::strcmp(argv[i], "--content") == 0 && hasValue) {
            const auto content = emulator::media::ParseCameraContent(argv[++i]);
            if (!content)
                Usage(argv[0]);
            options.content = *content;
        } else {
            Usage(argv[0]);
        }
    }
    return options;
}

std::vector<Unit> EncodeCameraAt(int camera, const Options& options)
{
    H264Settings settings;
    settings.width = kWidth;
    settings.height = kHeight;
    settings.frames = kGradientFrames;
    settings.framesPerSecond = kFps;
    settings.keyframeEvery = kFps;
    settings.bitRate = options.bitRate;
    settings.preset = options.preset;
    if (options.preset != "ultrafast")
        settings.profile = "high";
    settings.camera = camera;
    return EncodeH264AtRate(settings);
}

// A window that only notes that new pictures wait.
class PaintSignal : public CMessageReceiver {
public:
    void OnPostedMessage(unsigned message, WPARAM, LPARAM) override
    {
        if (message != kMsgVideoFramesReady)
            return;
        std::lock_guard guard(m_lock);
        m_pending = true;
        m_wake.notify_one();
    }
    bool Wait(std::chrono::milliseconds timeout)
    {
        std::unique_lock guard(m_lock);
        const bool woke = m_wake.wait_for(guard, timeout, [this] { return m_pending; });
        m_pending = false;
        return woke;
    }

private:
    // Guards m_pending.
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_pending = false;
};

struct Result {
    double cpu = 0;
    std::uint64_t displayed = 0;
    std::uint64_t decoded = 0;
    std::uint64_t skipped = 0;
    std::uint64_t dropped = 0;
    std::uint64_t paints = 0;
    std::vector<std::pair<double, int>> threadCpu;  // seconds and thread id, most first
    // From the last picture sent to the last one shown; none when nothing
    // was shown after the last picture was sent (an overloaded channel
    // discards what it gets until its next keyframe).
    std::optional<double> drainSeconds;
    long rssStartKb = 0;      // one second in, every channel decoding
    long rssMiddleKb = 0;
    long rssEndKb = 0;
};

// The PES packets of one picture of one camera, made once; only the time
// stamp changes as the loop repeats.
using PictureUnits = std::vector<std::vector<std::uint8_t>>;

std::vector<std::vector<PictureUnits>> Packetize(const std::vector<std::vector<Unit>>& aus)
{
    std::vector<std::vector<PictureUnits>> cameras;
    for (int camera = 0; camera < kCameras; ++camera) {
        std::vector<PictureUnits> pictures;
        for (const Unit& au : aus[camera])
            pictures.push_back(
                media::PacketizeAccessUnit(static_cast<std::uint8_t>(0xE0 + camera), 0, au.data(), au.size()));
        cameras.push_back(std::move(pictures));
    }
    return cameras;
}

Result RunLivePath(const std::vector<std::vector<Unit>>& aus, const Options& options)
{
    auto units = Packetize(aus);
    PaintSignal signal;
    const HWND window = RegisterMessageReceiver(&signal);
    Result result;
    {
        CLiveDecoder decoder;
        decoder.Initialise(window, 1, kWidth, kHeight, false);
        decoder.SetDeinterlace(true);
        LiveSessionState session;
        session.Attach(&decoder, 0);
        std::uint16_t occupied = 0;
        LiveChannelRequest request;
        request.checkedButtons = 0xFFFF;
        request.dvrType = 3;
        StartLiveChannels(decoder, session, nullptr, occupied, request);
        const PaneLayout layout = WindowedLayout(LayoutMode::Sixteen, 0);
        for (int ch = 0; ch < kCameras; ++ch)
            decoder.SetVideoPos(ch, layout[ch].left, layout[ch].top, layout[ch].right, layout[ch].bottom);

        QImage canvas(kVideoWindowWidth, kVideoWindowHeight, QImage::Format_RGB32);
        std::atomic<bool> sending{true};
        std::chrono::steady_clock::time_point lastSent;
        const int frames = options.seconds * kFps;
        const double cpuStart = CpuSeconds();
        const auto threadsStart = CpuSecondsByThread();
        std::thread network([&] {
            auto next = std::chrono::steady_clock::now();
            std::vector<unsigned char> packet(2 + wire::kLiveFragmentPayload);
            for (int frame = 0; frame < frames; ++frame) {
                lastSent = std::chrono::steady_clock::now();
                if (frame == kFps)
                    result.rssStartKb = ResidentKb();
                if (frame == frames / 2)
                    result.rssMiddleKb = ResidentKb();
                for (int camera = 0; camera < kCameras; ++camera) {
                    PictureUnits& pes = units[camera][frame % units[camera].size()];
                    media::RewritePesPts(pes.front().data(), pes.front().size(),
                                         media::MillisecondsToPts(1000u * frame / kFps));
                    for (const auto& unit : pes) {
                        const wire::FragmentPlan plan = wire::PlanFragments(unit.size());
                        for (std::uint32_t i = 0; i < plan.count; ++i) {
                            const std::uint32_t length = plan.FragmentLength(i, static_cast<std::uint32_t>(unit.size()));
                            packet[0] = static_cast<unsigned char>(plan.count);
                            packet[1] = static_cast<unsigned char>(i);
                            std::copy_n(unit.data() + std::size_t{i} * plan.fragmentSize, length, packet.begin() + 2);
                            LiveMediaCallback(&session, 0, kLivePacketVideo, packet.data(), 2 + length);
                        }
                    }
                }
                next += std::chrono::microseconds(1000000 / kFps * options.slowdown);
                std::this_thread::sleep_until(next);
            }
            sending = false;
        });
        // As the video window does: only the panes whose channels changed, at
        // most once a display refresh.
        auto paintChanged = [&] {
            const std::uint16_t changed = decoder.TakeChangedChannels();
            QRegion region;
            for (int ch = 0; ch < kCameras; ++ch) {
                if ((changed >> ch) & 1u)
                    region += QRect(layout[ch].left, layout[ch].top, layout[ch].Width(), layout[ch].Height());
            }
            QPainter painter(&canvas);
            decoder.PaintVideo(painter, region);
            ++result.paints;
        };
        PaintPacer pacer(kVideoPaintInterval);
        auto pacedPaint = [&] {
            std::this_thread::sleep_for(pacer.WaitBeforePaint(PaintPacer::Clock::now()));
            pacer.Painted(PaintPacer::Clock::now());
            paintChanged();
        };
        while (sending) {
            if (signal.Wait(std::chrono::milliseconds(20)))
                pacedPaint();
        }
        network.join();
        // Let the last queued pictures through.
        while (signal.Wait(std::chrono::milliseconds(200 * options.slowdown))) {
            pacedPaint();
            result.drainSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - lastSent).count();
        }
        result.cpu = CpuSeconds() - cpuStart;
        result.threadCpu = ThreadCpuSince(threadsStart);
        result.rssEndKb = ResidentKb();
        for (int ch = 0; ch < kCameras; ++ch) {
            const auto stats = decoder.GetStats(ch);
            result.displayed += stats.presented;
            result.decoded += stats.decoded;
            result.skipped += stats.skipped;
            result.dropped += stats.dropped;
        }
    }
    UnregisterMessageReceiver(window);
    return result;
}

double PerPicture(const Result& r)
{
    return r.displayed ? r.cpu * 1000.0 / static_cast<double>(r.displayed) : 0.0;
}

void PrintLiveResult(const Result& live, long rssBeforeKb)
{
    std::printf("live path: cpu %.3f s, decoded %llu, displayed %llu, skipped %llu, dropped %llu, %.3f ms cpu per "
                "displayed picture\n",
                live.cpu, static_cast<unsigned long long>(live.decoded),
                static_cast<unsigned long long>(live.displayed), static_cast<unsigned long long>(live.skipped),
                static_cast<unsigned long long>(live.dropped), PerPicture(live));
    if (live.drainSeconds)
        std::printf("live path: %llu paints; last picture shown %.0f ms after it was sent\n",
                    static_cast<unsigned long long>(live.paints), *live.drainSeconds * 1000);
    else
        std::printf("live path: %llu paints; no picture shown after the last one was sent\n",
                    static_cast<unsigned long long>(live.paints));
    PrintThreadCpu(live.threadCpu, static_cast<int>(::gettid()), "paint");
    std::printf("resident memory (kB): before %ld, after 1 s %ld, middle %ld, end %ld\n", rssBeforeKb,
                live.rssStartKb, live.rssMiddleKb, live.rssEndKb);
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    av_log_set_level(AV_LOG_ERROR);

    std::vector<std::vector<Unit>> aus;
    if (options.preset.empty()) {
        std::printf("content %s: the emulator's %d camera loops of %dx%d at %.2f Mb/s (made once, then cached)...\n",
                    emulator::media::CameraContentName(options.content), kCameras, kWidth, kHeight,
                    options.bitRate / 1e6);
        std::string error;
        aus = MakeEmulatorLoops(options.content, options.bitRate, &error);
        if (aus.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    } else {
        std::printf("content gradient: encoding %d cameras of %dx%d at %.2f Mb/s (x264 preset %s), %d pictures "
                    "each...\n",
                    kCameras, kWidth, kHeight, options.bitRate / 1e6, options.preset.c_str(), kGradientFrames);
        for (int camera = 0; camera < kCameras; ++camera)
            aus.push_back(EncodeCameraAt(camera, options));
    }
    double rate = 0;
    for (const auto& loop : aus)
        rate += LoopBitRate(loop, kFps);
    std::printf("streams: %.2f Mb/s per camera on average\n", rate / kCameras / 1e6);

    const int baselineSeconds = std::min(options.seconds, kMaxBaselineSeconds);
    const int baselinePictures = baselineSeconds * kFps;
    std::printf("load average before: %.2f\n", LoadAverage());
    std::printf("pictures offered a round: %d (16 x %d fps x %d s); baselines over %d s of stream\n",
                kCameras * options.seconds * kFps, kFps, options.seconds, baselineSeconds);
    BaselineSet before = RunBaselines(aus, baselinePictures, kPaneWidth, kPaneHeight, kFps);
    std::vector<BaselineRatios> ratios;
    for (int round = 1; round <= options.rounds; ++round) {
        const long rssBeforeKb = ResidentKb();
        const Result live = RunLivePath(aus, options);
        const BaselineSet after = RunBaselines(aus, baselinePictures, kPaneWidth, kPaneHeight, kFps);
        std::printf("round %d of %d, load average %.2f\n", round, options.rounds, LoadAverage());
        PrintLiveResult(live, rssBeforeKb);
        ratios.push_back(PrintBaselineRatios("live path", PerPicture(live), before, after, kPaneWidth, kPaneHeight));
        before = after;
    }
    PrintMedianRatios("live path", ratios);
    return 0;
}
