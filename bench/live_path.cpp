// Sixteen cameras of 704 x 576 H.264 at 25 pictures a second through the whole
// live path in the sixteen-pane layout: live callback, reassembly, stream-id
// rewrite, Demux, decode, scale to the 200 x 150 pane, paint into an 800 x 600
// picture. Baseline, in the same run: plain libavcodec decode of the same
// streams and swscale of every picture to the pane size. Reports process CPU
// time per displayed picture of each and their ratio.

#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

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
constexpr int kLoopFrames = 50;     // two seconds, keyframe every second
constexpr int kSeconds = 8;         // live run length
constexpr int kPaneWidth = kVideoWindowWidth / 4;
constexpr int kPaneHeight = kVideoWindowHeight / 4;

using Unit = std::vector<std::uint8_t>;

double CpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One camera's loop of access units: a gradient that moves differently per camera.
std::vector<Unit> EncodeCamera(int camera)
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
    ctx->bit_rate = 1500000;
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
};

Result RunLivePath(const std::vector<std::vector<Unit>>& aus)
{
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
        const double cpuStart = CpuSeconds();
        std::thread network([&] {
            auto next = std::chrono::steady_clock::now();
            std::vector<unsigned char> packet(2 + wire::kLiveFragmentPayload);
            for (int frame = 0; frame < kSeconds * kFps; ++frame) {
                for (int camera = 0; camera < kCameras; ++camera) {
                    const Unit& au = aus[camera][frame % aus[camera].size()];
                    auto pes = media::PacketizeAccessUnit(static_cast<std::uint8_t>(0xE0 + camera),
                                                          media::MillisecondsToPts(1000u * frame / kFps), au.data(),
                                                          au.size());
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
                next += std::chrono::microseconds(1000000 / kFps);
                std::this_thread::sleep_until(next);
            }
            sending = false;
        });
        while (sending) {
            if (!signal.Wait(std::chrono::milliseconds(20)))
                continue;
            QPainter painter(&canvas);
            decoder.PaintVideo(painter);
        }
        network.join();
        // Let the last queued pictures through.
        while (signal.Wait(std::chrono::milliseconds(200))) {
            QPainter painter(&canvas);
            decoder.PaintVideo(painter);
        }
        result.cpu = CpuSeconds() - cpuStart;
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

Result RunBaseline(const std::vector<std::vector<Unit>>& aus)
{
    Result result;
    const double cpuStart = CpuSeconds();
    for (int camera = 0; camera < kCameras; ++camera) {
        const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H264);
        AVCodecContext* ctx = avcodec_alloc_context3(codec);
        ctx->thread_count = 1;
        avcodec_open2(ctx, codec, nullptr);
        AVPacket* packet = av_packet_alloc();
        AVFrame* frame = av_frame_alloc();
        SwsContext* sws = nullptr;
        std::vector<std::uint8_t> pane(std::size_t{kPaneWidth} * kPaneHeight * 4);
        std::uint8_t* dst[4] = {pane.data(), nullptr, nullptr, nullptr};
        int dstStride[4] = {kPaneWidth * 4, 0, 0, 0};
        auto receive = [&] {
            while (avcodec_receive_frame(ctx, frame) == 0) {
                sws = sws_getCachedContext(sws, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                           kPaneWidth, kPaneHeight, AV_PIX_FMT_BGRA, SWS_FAST_BILINEAR, nullptr,
                                           nullptr, nullptr);
                sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, dstStride);
                ++result.displayed;
                ++result.decoded;
            }
        };
        for (int i = 0; i < kSeconds * kFps; ++i) {
            const Unit& au = aus[camera][i % aus[camera].size()];
            av_new_packet(packet, static_cast<int>(au.size()));
            std::copy(au.begin(), au.end(), packet->data);
            avcodec_send_packet(ctx, packet);
            av_packet_unref(packet);
            receive();
        }
        avcodec_send_packet(ctx, nullptr);
        receive();
        sws_freeContext(sws);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&ctx);
    }
    result.cpu = CpuSeconds() - cpuStart;
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);

    std::printf("encoding %d cameras of %dx%d, %d pictures each...\n", kCameras, kWidth, kHeight, kLoopFrames);
    std::vector<std::vector<Unit>> aus;
    for (int camera = 0; camera < kCameras; ++camera)
        aus.push_back(EncodeCamera(camera));

    const Result live = RunLivePath(aus);
    const Result base = RunBaseline(aus);
    const int offered = kCameras * kSeconds * kFps;
    auto perFrame = [](const Result& r) { return r.displayed ? r.cpu * 1000.0 / r.displayed : 0.0; };
    std::printf("pictures offered: %d (16 x %d fps x %d s)\n", offered, kFps, kSeconds);
    std::printf("live path: cpu %.3f s, decoded %llu, displayed %llu, skipped %llu, dropped %llu, %.3f ms cpu per "
                "displayed picture\n",
                live.cpu, static_cast<unsigned long long>(live.decoded),
                static_cast<unsigned long long>(live.displayed), static_cast<unsigned long long>(live.skipped),
                static_cast<unsigned long long>(live.dropped), perFrame(live));
    std::printf("baseline (libavcodec + swscale to %dx%d): cpu %.3f s, %llu pictures, %.3f ms cpu per picture\n",
                kPaneWidth, kPaneHeight, base.cpu, static_cast<unsigned long long>(base.displayed), perFrame(base));
    if (perFrame(base) > 0)
        std::printf("ratio live/baseline: %.2f\n", perFrame(live) / perFrame(base));
    return 0;
}
