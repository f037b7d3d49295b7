#pragma once

// Real H.264 streams for benchmarks and tests: libx264 through libavcodec,
// a moving gradient per camera, no B pictures (live streams have none).
// Header-only, so test programs can use it without linking the benchmarks.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
}

namespace benchsupport {

using AccessUnit = std::vector<std::uint8_t>;

struct H264Settings {
    int width = 352;
    int height = 288;
    int frames = 25;
    int framesPerSecond = 25;
    int keyframeEvery = 25;
    long bitRate = 0;                 // bits a second; 0: the encoder's own quality
    std::string preset = "ultrafast";  // "medium" codes with CABAC and costs far more to decode
    std::string profile;               // empty: what the preset picks
    int camera = 0;                    // picks the gradient and its motion
};

// Access units (Annex B) of settings.frames pictures, a keyframe first.
inline std::vector<AccessUnit> EncodeH264(const H264Settings& settings)
{
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (codec == nullptr)
        throw std::runtime_error("no libx264 encoder");
    AVCodecContext* ctx = avcodec_alloc_context3(codec);
    ctx->width = settings.width;
    ctx->height = settings.height;
    ctx->pix_fmt = AV_PIX_FMT_YUV420P;
    ctx->time_base = AVRational{1, settings.framesPerSecond};
    ctx->gop_size = settings.keyframeEvery;
    ctx->max_b_frames = 0;
    ctx->thread_count = 1;
    if (settings.bitRate > 0) {
        ctx->bit_rate = settings.bitRate;
        // A one-second buffer keeps the average near the asked rate even in a short loop.
        ctx->rc_max_rate = settings.bitRate;
        ctx->rc_buffer_size = static_cast<int>(settings.bitRate);
    }
    av_opt_set(ctx->priv_data, "preset", settings.preset.c_str(), 0);
    av_opt_set(ctx->priv_data, "tune", "zerolatency", 0);
    if (!settings.profile.empty())
        av_opt_set(ctx->priv_data, "profile", settings.profile.c_str(), 0);
    if (avcodec_open2(ctx, codec, nullptr) < 0) {
        avcodec_free_context(&ctx);
        throw std::runtime_error("cannot open libx264");
    }
    AVFrame* frame = av_frame_alloc();
    frame->format = ctx->pix_fmt;
    frame->width = settings.width;
    frame->height = settings.height;
    av_frame_get_buffer(frame, 0);
    AVPacket* packet = av_packet_alloc();
    std::vector<AccessUnit> aus;
    auto drain = [&] {
        while (avcodec_receive_packet(ctx, packet) == 0) {
            aus.emplace_back(packet->data, packet->data + packet->size);
            av_packet_unref(packet);
        }
    };
    const int c = settings.camera;
    for (int i = 0; i < settings.frames; ++i) {
        av_frame_make_writable(frame);
        for (int y = 0; y < settings.height; ++y)
            for (int x = 0; x < settings.width; ++x)
                frame->data[0][y * frame->linesize[0] + x] =
                    static_cast<std::uint8_t>((x * (c + 1)) / 4 + y / 2 + i * (c + 2));
        for (int p = 1; p < 3; ++p)
            for (int y = 0; y < settings.height / 2; ++y)
                for (int x = 0; x < settings.width / 2; ++x)
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

inline std::size_t TotalBytes(const std::vector<AccessUnit>& aus)
{
    std::size_t bytes = 0;
    for (const AccessUnit& au : aus)
        bytes += au.size();
    return bytes;
}

// The encoder overshoots a short loop that starts with a keyframe; a second
// pass with the rate corrected by the first pass's result lands near the aim.
inline std::vector<AccessUnit> EncodeH264AtRate(H264Settings settings)
{
    const double seconds = static_cast<double>(settings.frames) / settings.framesPerSecond;
    const double aim = static_cast<double>(settings.bitRate);
    std::vector<AccessUnit> aus = EncodeH264(settings);
    const double reached = 8.0 * static_cast<double>(TotalBytes(aus)) / seconds;
    if (reached <= 0 || aim <= 0)
        return aus;
    settings.bitRate = static_cast<long>(aim * aim / reached);
    return EncodeH264(settings);
}

} // namespace benchsupport
