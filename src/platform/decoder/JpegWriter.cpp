#include "platform/decoder/JpegWriter.h"

#include "core/video/JpegComment.h"

#include <cstdint>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace {

constexpr int kQuality = 3;  // encoder quantiser scale: high quality, modest size

struct ContextFree { void operator()(AVCodecContext* c) const { avcodec_free_context(&c); } };
struct FrameFree { void operator()(AVFrame* f) const { av_frame_free(&f); } };
struct PacketFree { void operator()(AVPacket* p) const { av_packet_free(&p); } };
struct ScalerFree { void operator()(SwsContext* s) const { sws_freeContext(s); } };

// The picture as full-range 4:2:0, the form every JPEG reader takes.
std::unique_ptr<AVFrame, FrameFree> ToJpegFormat(const AVFrame* frame)
{
    std::unique_ptr<AVFrame, FrameFree> out(av_frame_alloc());
    if (!out)
        return nullptr;
    out->width = frame->width;
    out->height = frame->height;
    out->format = AV_PIX_FMT_YUVJ420P;
    if (av_frame_get_buffer(out.get(), 0) < 0)
        return nullptr;
    std::unique_ptr<SwsContext, ScalerFree> scaler(
        sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width, frame->height,
                       AV_PIX_FMT_YUVJ420P, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scaler)
        return nullptr;
    if (sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, out->data, out->linesize) !=
        frame->height)
        return nullptr;
    return out;
}

bool Encode(const AVFrame* picture, AVPacket* packet)
{
    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!encoder)
        return false;
    std::unique_ptr<AVCodecContext, ContextFree> context(avcodec_alloc_context3(encoder));
    if (!context)
        return false;
    context->width = picture->width;
    context->height = picture->height;
    context->pix_fmt = AV_PIX_FMT_YUVJ420P;
    context->time_base = AVRational{1, 25};
    // Bit-exact output leaves out the encoder's own comment segment, so a
    // comment added later is the file's only one.
    context->flags |= AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_BITEXACT;
    context->global_quality = FF_QP2LAMBDA * kQuality;
    if (avcodec_open2(context.get(), encoder, nullptr) < 0)
        return false;
    std::unique_ptr<AVFrame, FrameFree> frame(av_frame_clone(picture));
    if (!frame)
        return false;
    frame->quality = context->global_quality;
    frame->pict_type = AV_PICTURE_TYPE_I;
    if (avcodec_send_frame(context.get(), frame.get()) < 0 || avcodec_send_frame(context.get(), nullptr) < 0)
        return false;
    return avcodec_receive_packet(context.get(), packet) >= 0;
}

bool WriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    const bool closed = std::fclose(file) == 0;
    if (written && closed)
        return true;
    std::remove(path.c_str());
    return false;
}

} // namespace

bool WriteJpegFile(const AVFrame* frame, const std::string& path)
{
    if (!frame || frame->width <= 0 || frame->height <= 0 || path.empty())
        return false;
    auto picture = ToJpegFormat(frame);
    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    if (!picture || !packet || !Encode(picture.get(), packet.get()))
        return false;
    return WriteFile(path, packet->data, size_t(packet->size));
}

bool AddJpegComment(const std::string& path, const std::string& comment)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    const std::vector<std::uint8_t> jpeg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return false;
    const auto commented = InsertJpegComment(jpeg, comment);
    if (!commented)
        return false;
    const std::string temporary = path + ".part";
    if (!WriteFile(temporary, commented->data(), commented->size()))
        return false;
    if (std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}
