#include "VideoLoopEncoder.h"

#include <memory>

#include "core/media/PesPacketizer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/opt.h>
}

namespace emulator::media {
namespace {

struct CodecContextFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

std::string AvError(const char* what, int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return std::string(what) + ": " + text;
}

// Drains what the encoder has ready into PES units.
bool Receive(AVCodecContext* context, AVPacket* packet, int framesPerSecond, uint8_t streamId,
             ::media::MediaLoop* loop, std::string* error)
{
    for (;;) {
        const int result = avcodec_receive_packet(context, packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return true;
        if (result < 0) {
            *error = AvError("video encoding failed", result);
            return false;
        }
        const auto timeMs = static_cast<uint32_t>(packet->pts * 1000 / framesPerSecond);
        const bool key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
        auto packets = ::media::PacketizeAccessUnit(streamId, ::media::MillisecondsToPts(timeMs), packet->data,
                                                    static_cast<size_t>(packet->size));
        for (size_t i = 0; i < packets.size(); ++i)
            loop->units.push_back(::media::MediaUnit{std::move(packets[i]), timeMs, key && i == 0});
        av_packet_unref(packet);
    }
}

}  // namespace

std::string VideoLoopSettings::Text() const
{
    return std::to_string(width) + "x" + std::to_string(height) + " " + std::to_string(framesPerSecond) + "fps " +
           std::to_string(seconds) + "s " + std::to_string(bitRate) + "bps " +
           (content == CameraContent::Hard ? "h264-main-medium-gop1s" : "h264-baseline-gop1s") +
           (reachBitRate ? " reach-rate" : "");
}

bool EncodeVideoLoop(const VideoLoopSettings& settings, uint8_t streamId, const FramePainter& paint,
                     const std::atomic<bool>& cancel, ::media::MediaLoop* out, std::string* error)
{
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec) {
        *error = "this FFmpeg has no libx264 encoder";
        return false;
    }
    std::unique_ptr<AVCodecContext, CodecContextFree> context(avcodec_alloc_context3(codec));
    std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    if (!context || !frame || !packet) {
        *error = "out of memory for the video encoder";
        return false;
    }
    context->width = settings.width;
    context->height = settings.height;
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    context->time_base = AVRational{1, settings.framesPerSecond};
    context->framerate = AVRational{settings.framesPerSecond, 1};
    context->gop_size = settings.framesPerSecond;
    context->keyint_min = settings.framesPerSecond;
    context->max_b_frames = 0;
    context->bit_rate = settings.bitRate;
    // The buffer bounds single pictures well below one PES packet's payload.
    // Hard content is given a camera's headroom, so its loops reach the rate
    // on average rather than stay under it.
    const bool hard = settings.content == CameraContent::Hard;
    context->rc_max_rate = hard ? settings.bitRate / 4 * 5 : settings.bitRate;
    context->rc_buffer_size = hard ? settings.bitRate / 2 : settings.bitRate / 4;
    // Some libx264 builds keep a quantiser floor that caps what a picture may
    // spend; a loop that is to reach its rate must not stop there.
    if (settings.reachBitRate)
        context->qmin = 0;
    context->thread_count = 1;  // pictures are encoded in parallel per camera instead
    context->color_range = AVCOL_RANGE_MPEG;
    context->colorspace = AVCOL_SPC_BT470BG;
    av_opt_set(context->priv_data, "preset", hard ? "medium" : "ultrafast", 0);
    av_opt_set(context->priv_data, "profile", hard ? "main" : "baseline", 0);
    av_opt_set(context->priv_data, "forced-idr", "1", 0);
    av_opt_set(context->priv_data, "x264-params", "scenecut=0:rc-lookahead=0:sync-lookahead=0:log=-1", 0);
    int result = avcodec_open2(context.get(), codec, nullptr);
    if (result < 0) {
        *error = AvError("cannot open the video encoder", result);
        return false;
    }
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = settings.width;
    frame->height = settings.height;
    if ((result = av_frame_get_buffer(frame.get(), 0)) < 0) {
        *error = AvError("cannot allocate a video frame", result);
        return false;
    }

    ::media::MediaLoop loop;
    loop.durationMs = static_cast<uint32_t>(settings.seconds * 1000);
    const int frames = settings.seconds * settings.framesPerSecond;
    for (int index = 0; index < frames; ++index) {
        if (cancel.load()) {
            *error = "video encoding cancelled";
            return false;
        }
        if ((result = av_frame_make_writable(frame.get())) < 0) {
            *error = AvError("cannot write a video frame", result);
            return false;
        }
        YuvCanvas canvas(frame->data[0], frame->linesize[0], frame->data[1], frame->data[2], frame->linesize[1],
                         settings.width, settings.height);
        paint(canvas, index);
        frame->pts = index;
        // A loop restarts with an IDR picture, so each pass decodes on its own.
        frame->pict_type = index % settings.framesPerSecond == 0 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
        if ((result = avcodec_send_frame(context.get(), frame.get())) < 0) {
            *error = AvError("video encoding failed", result);
            return false;
        }
        if (!Receive(context.get(), packet.get(), settings.framesPerSecond, streamId, &loop, error))
            return false;
    }
    if ((result = avcodec_send_frame(context.get(), nullptr)) < 0) {
        *error = AvError("video encoding failed", result);
        return false;
    }
    if (!Receive(context.get(), packet.get(), settings.framesPerSecond, streamId, &loop, error))
        return false;
    if (loop.units.empty() || !loop.units.front().keyframe) {
        *error = "the video encoder made no keyframe first";
        return false;
    }
    *out = std::move(loop);
    return true;
}

}  // namespace emulator::media
