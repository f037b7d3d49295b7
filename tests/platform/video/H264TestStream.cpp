#include "H264TestStream.h"

#include "core/media/PesPacketizer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
}

#include <stdexcept>

std::vector<std::vector<std::uint8_t>> EncodeH264(int width, int height, int frames)
{
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (codec == nullptr)
        throw std::runtime_error("no libx264 encoder");
    AVCodecContext* ctx = avcodec_alloc_context3(codec);
    ctx->width = width;
    ctx->height = height;
    ctx->pix_fmt = AV_PIX_FMT_YUV420P;
    ctx->time_base = AVRational{1, 25};
    ctx->gop_size = 25;
    ctx->max_b_frames = 0;
    av_opt_set(ctx->priv_data, "preset", "ultrafast", 0);
    av_opt_set(ctx->priv_data, "tune", "zerolatency", 0);
    if (avcodec_open2(ctx, codec, nullptr) < 0)
        throw std::runtime_error("cannot open libx264");

    AVFrame* frame = av_frame_alloc();
    frame->format = ctx->pix_fmt;
    frame->width = width;
    frame->height = height;
    av_frame_get_buffer(frame, 0);
    AVPacket* packet = av_packet_alloc();
    std::vector<std::vector<std::uint8_t>> aus;
    auto drain = [&] {
        while (avcodec_receive_packet(ctx, packet) == 0) {
            aus.emplace_back(packet->data, packet->data + packet->size);
            av_packet_unref(packet);
        }
    };
    for (int i = 0; i < frames; ++i) {
        av_frame_make_writable(frame);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                frame->data[0][y * frame->linesize[0] + x] = static_cast<std::uint8_t>(x + y + 3 * i);
        for (int p = 1; p < 3; ++p)
            for (int y = 0; y < height / 2; ++y)
                for (int x = 0; x < width / 2; ++x)
                    frame->data[p][y * frame->linesize[p] + x] = static_cast<std::uint8_t>(128 + p * i);
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

std::vector<std::vector<std::uint8_t>> VideoUnits(int camera, const std::vector<std::vector<std::uint8_t>>& aus)
{
    std::vector<std::vector<std::uint8_t>> units;
    for (std::size_t i = 0; i < aus.size(); ++i) {
        auto pes = media::PacketizeAccessUnit(static_cast<std::uint8_t>(0xE0 + camera),
                                              media::MillisecondsToPts(static_cast<std::uint32_t>(40 * i)),
                                              aus[i].data(), aus[i].size());
        for (auto& p : pes)
            units.push_back(std::move(p));
    }
    return units;
}

std::vector<std::vector<unsigned char>> LivePackets(const std::vector<std::uint8_t>& unit, std::size_t payload)
{
    const std::size_t count = (unit.size() + payload - 1) / payload;
    std::vector<std::vector<unsigned char>> packets;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t begin = i * payload;
        const std::size_t end = std::min(unit.size(), begin + payload);
        std::vector<unsigned char> p(2 + end - begin);
        p[0] = static_cast<unsigned char>(count);
        p[1] = static_cast<unsigned char>(i);
        std::copy(unit.begin() + static_cast<std::ptrdiff_t>(begin), unit.begin() + static_cast<std::ptrdiff_t>(end),
                  p.begin() + 2);
        packets.push_back(std::move(p));
    }
    return packets;
}
