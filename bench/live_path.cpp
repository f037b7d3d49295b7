// Sixteen cameras of 704 x 576 H.264 at 25 pictures a second through the whole
// live path in the sixteen-pane layout: live callback, reassembly, stream-id
// rewrite, Demux, decode, scale to the 200 x 150 pane, paint into an 800 x 600
// picture. Baseline, in the same run: plain libavcodec decode of the same
// streams and swscale of every picture to the pane size, camera after camera
// and again one picture of each camera in turn as live pictures come (the
// difference is what sixteen decoders cost the caches). Reports process CPU
// time per displayed picture of each and their ratio, what the overload policy
// skipped and the slots dropped, how long the last pictures took to show after
// the stream ended, and resident memory over the run.
//
//   bench_live_path [--bitrate BITS] [--seconds N] [--slowdown F]
//
// BITS per camera, with an optional k or M suffix (default 1.5M); N seconds of
// live stream (default 8); F stretches the sending time F times, so the path
// keeps up under an instruction-counting profiler (default 1). The PES packets are made before the clock starts:
// the recorder makes them, the client only receives them.

#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include "core/media/PesPacketizer.h"
#include "core/msg/WindowMessage.h"
#include "core/net/LiveMessages.h"
#include "core/video/LayoutGeometry.h"
#include "platform/decoder/LiveDecoder.h"
#include "platform/video/LiveChannels.h"
#include "platform/video/LiveMediaCallback.h"
#include "platform/video/LiveSessionState.h"

namespace {

constexpr int kCameras = 16;
constexpr int kWidth = 704;
constexpr int kHeight = 576;
constexpr int kFps = 25;
constexpr int kLoopFrames = 50;  // two seconds, keyframe every second
constexpr int kPaneWidth = kVideoWindowWidth / 4;
constexpr int kPaneHeight = kVideoWindowHeight / 4;

using Unit = std::vector<std::uint8_t>;

struct Options {
    long bitRate = 1500000;
    int seconds = 8;
    int slowdown = 1;
};

[[noreturn]] void Usage(const char* program)
{
    std::fprintf(stderr, "usage: %s [--bitrate BITS[k|M]] [--seconds N] [--slowdown F]\n", program);
    std::exit(2);
}

// "1.5M", "4000k" or "4000000" bits a second.
long ParseBitRate(const char* text)
{
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (end == text)
        return -1;
    if (*end == 'k' || *end == 'K')
        value *= 1e3, ++end;
    else if (*end == 'M' || *end == 'm')
        value *= 1e6, ++end;
    return *end == '\0' && value >= 1e4 && value <= 1e8 ? static_cast<long>(value) : -1;
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
        } else {
            Usage(argv[0]);
        }
    }
    return options;
}

// Resident memory of this process in kB (VmRSS of /proc/self/status).
long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

double CpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One camera's loop of access units: a gradient that moves differently per camera.
std::vector<Unit> EncodeCamera(int camera, long bitRate)
{
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec) {
        std::fprintf(stderr, "libx264 encoder missing\n");
        std::exit(1);
    }
    AVCodecContext* ctx = avcodec_alloc_context3(codec);
    ctx->width = kWidth;
    ctx->height = kHeight;
    ctx->pix_fmt = AV_PIX_FMT_YUV420P;
    ctx->time_base = AVRational{1, kFps};
    ctx->gop_size = kFps;
    ctx->max_b_frames = 0;
    ctx->bit_rate = bitRate;
    // A one-second buffer keeps the average near the asked rate even in a two-second loop.
    ctx->rc_max_rate = bitRate;
    ctx->rc_buffer_size = static_cast<int>(bitRate);
    ctx->thread_count = 1;
    av_opt_set(ctx->priv_data, "preset", "ultrafast", 0);
    av_opt_set(ctx->priv_data, "tune", "zerolatency", 0);
    if (avcodec_open2(ctx, codec, nullptr) < 0) {
        std::fprintf(stderr, "cannot open libx264\n");
        std::exit(1);
    }
    AVFrame* frame = av_frame_alloc();
    frame->format = ctx->pix_fmt;
    frame->width = kWidth;
    frame->height = kHeight;
    av_frame_get_buffer(frame, 0);
    AVPacket* packet = av_packet_alloc();
    std::vector<Unit> aus;
    auto drain = [&] {
        while (avcodec_receive_packet(ctx, packet) == 0) {
            aus.emplace_back(packet->data, packet->data + packet->size);
            av_packet_unref(packet);
        }
    };
    for (int i = 0; i < kLoopFrames; ++i) {
        av_frame_make_writable(frame);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                frame->data[0][y * frame->linesize[0] + x] =
                    static_cast<std::uint8_t>((x * (camera + 1)) / 4 + y / 2 + i * (camera + 2));
        for (int p = 1; p < 3; ++p)
            for (int y = 0; y < kHeight / 2; ++y)
                for (int x = 0; x < kWidth / 2; ++x)
                    frame->data[p][y * frame->linesize[p] + x] = static_cast<std::uint8_t>(96 + (x + y + i) % 64);
        frame->pts = i;
        avcodec_send_frame(ctx, frame);
        drain();
    }
    avcodec_send_frame(ctx, nullptr);
    drain();
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&ctx);
    return aus;
}

std::size_t TotalBytes(const std::vector<Unit>& aus)
{
    std::size_t bytes = 0;
    for (const Unit& au : aus)
        bytes += au.size();
    return bytes;
}

// The encoder overshoots a short loop that starts with a keyframe; a second
// pass with the rate corrected by the first pass's result lands near the aim.
std::vector<Unit> EncodeCameraAt(int camera, long bitRate)
{
    const double loopSeconds = static_cast<double>(kLoopFrames) / kFps;
    std::vector<Unit> aus = EncodeCamera(camera, bitRate);
    const double reached = 8.0 * static_cast<double>(TotalBytes(aus)) / loopSeconds;
    if (reached <= 0)
        return aus;
    return EncodeCamera(camera, static_cast<long>(static_cast<double>(bitRate) * bitRate / reached));
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
    double drainSeconds = 0;  // from the last picture sent to the last one shown
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
        // As the video window does: only the panes whose channels changed.
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
        while (sending) {
            if (signal.Wait(std::chrono::milliseconds(20)))
                paintChanged();
        }
        network.join();
        // Let the last queued pictures through.
        auto lastPaint = lastSent;
        while (signal.Wait(std::chrono::milliseconds(200 * options.slowdown))) {
            paintChanged();
            lastPaint = std::chrono::steady_clock::now();
        }
        result.cpu = CpuSeconds() - cpuStart;
        result.drainSeconds = std::chrono::duration<double>(lastPaint - lastSent).count();
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

// One camera's plain decode and scale to the pane.
class BaselineCamera {
public:
    BaselineCamera()
    {
        m_ctx = avcodec_alloc_context3(avcodec_find_decoder(AV_CODEC_ID_H264));
        m_ctx->thread_count = 1;
        avcodec_open2(m_ctx, m_ctx->codec, nullptr);
    }
    ~BaselineCamera()
    {
        sws_freeContext(m_sws);
        av_frame_free(&m_frame);
        av_packet_free(&m_packet);
        avcodec_free_context(&m_ctx);
    }
    BaselineCamera(const BaselineCamera&) = delete;
    BaselineCamera& operator=(const BaselineCamera&) = delete;

    // Null for the end of the stream; returns the pictures made.
    int Decode(const Unit* au)
    {
        if (au) {
            av_new_packet(m_packet, static_cast<int>(au->size()));
            std::copy(au->begin(), au->end(), m_packet->data);
            avcodec_send_packet(m_ctx, m_packet);
            av_packet_unref(m_packet);
        } else {
            avcodec_send_packet(m_ctx, nullptr);
        }
        int pictures = 0;
        while (avcodec_receive_frame(m_ctx, m_frame) == 0) {
            m_sws = sws_getCachedContext(m_sws, m_frame->width, m_frame->height,
                                         static_cast<AVPixelFormat>(m_frame->format), kPaneWidth, kPaneHeight,
                                         AV_PIX_FMT_BGRA, SWS_FAST_BILINEAR, nullptr, nullptr, nullptr);
            std::uint8_t* dst[4] = {m_pane.data(), nullptr, nullptr, nullptr};
            const int dstStride[4] = {kPaneWidth * 4, 0, 0, 0};
            sws_scale(m_sws, m_frame->data, m_frame->linesize, 0, m_frame->height, dst, dstStride);
            ++pictures;
        }
        return pictures;
    }

private:
    AVCodecContext* m_ctx = nullptr;
    AVPacket* m_packet = av_packet_alloc();
    AVFrame* m_frame = av_frame_alloc();
    SwsContext* m_sws = nullptr;
    std::vector<std::uint8_t> m_pane = std::vector<std::uint8_t>(std::size_t{kPaneWidth} * kPaneHeight * 4);
};

// Camera after camera (each decoder's data stays in the caches), or, as live
// pictures come, one picture of each camera in turn.
Result RunBaseline(const std::vector<std::vector<Unit>>& aus, int seconds, bool interleaved)
{
    Result result;
    const double cpuStart = CpuSeconds();
    std::vector<std::unique_ptr<BaselineCamera>> cameras;
    for (int camera = 0; camera < kCameras; ++camera)
        cameras.push_back(std::make_unique<BaselineCamera>());
    const int frames = seconds * kFps;
    auto decode = [&](int camera, int frame) {
        result.displayed += cameras[camera]->Decode(&aus[camera][frame % aus[camera].size()]);
    };
    if (interleaved) {
        for (int frame = 0; frame < frames; ++frame)
            for (int camera = 0; camera < kCameras; ++camera)
                decode(camera, frame);
    } else {
        for (int camera = 0; camera < kCameras; ++camera)
            for (int frame = 0; frame < frames; ++frame)
                decode(camera, frame);
    }
    for (auto& camera : cameras)
        result.displayed += camera->Decode(nullptr);
    cameras.clear();
    result.decoded = result.displayed;
    result.cpu = CpuSeconds() - cpuStart;
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    av_log_set_level(AV_LOG_ERROR);

    std::printf("encoding %d cameras of %dx%d at %.2f Mb/s, %d pictures each...\n", kCameras, kWidth, kHeight,
                options.bitRate / 1e6, kLoopFrames);
    std::vector<std::vector<Unit>> aus;
    std::size_t bytes = 0;
    for (int camera = 0; camera < kCameras; ++camera) {
        aus.push_back(EncodeCameraAt(camera, options.bitRate));
        bytes += TotalBytes(aus.back());
    }
    std::printf("encoded: %.2f Mb/s per camera on average\n",
                8.0 * static_cast<double>(bytes) / kCameras / (static_cast<double>(kLoopFrames) / kFps) / 1e6);

    const long rssBeforeKb = ResidentKb();
    const Result live = RunLivePath(aus, options);
    const Result base = RunBaseline(aus, options.seconds, false);
    const Result interleaved = RunBaseline(aus, options.seconds, true);
    const int offered = kCameras * options.seconds * kFps;
    auto perFrame = [](const Result& r) { return r.displayed ? r.cpu * 1000.0 / r.displayed : 0.0; };
    std::printf("pictures offered: %d (16 x %d fps x %d s)\n", offered, kFps, options.seconds);
    std::printf("live path: cpu %.3f s, decoded %llu, displayed %llu, skipped %llu, dropped %llu, %.3f ms cpu per "
                "displayed picture\n",
                live.cpu, static_cast<unsigned long long>(live.decoded),
                static_cast<unsigned long long>(live.displayed), static_cast<unsigned long long>(live.skipped),
                static_cast<unsigned long long>(live.dropped), perFrame(live));
    std::printf("live path: %llu paints; last picture shown %.0f ms after it was sent\n",
                static_cast<unsigned long long>(live.paints), live.drainSeconds * 1000);
    std::printf("resident memory (kB): before %ld, after 1 s %ld, middle %ld, end %ld\n", rssBeforeKb,
                live.rssStartKb, live.rssMiddleKb, live.rssEndKb);
    std::printf("baseline (libavcodec + swscale to %dx%d): cpu %.3f s, %llu pictures, %.3f ms cpu per picture\n",
                kPaneWidth, kPaneHeight, base.cpu, static_cast<unsigned long long>(base.displayed), perFrame(base));
    std::printf("baseline, cameras taken in turn picture by picture: cpu %.3f s, %.3f ms cpu per picture\n",
                interleaved.cpu, perFrame(interleaved));
    if (perFrame(base) > 0 && perFrame(interleaved) > 0)
        std::printf("ratio live/baseline: %.2f (against cameras in turn: %.2f)\n", perFrame(live) / perFrame(base),
                    perFrame(live) / perFrame(interleaved));
    return 0;
}
