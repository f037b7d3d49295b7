#include "emulator/media/MediaTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/mpeg/PesPacket.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace mediatest {

std::vector<std::string> SortedFiles(const std::string& folder)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

double Picture::Mean(const std::vector<uint8_t>& plane, int left, int top, int right, int bottom) const
{
    const int shift = &plane == &y ? 0 : 1;
    const int stride = width >> shift;
    double sum = 0;
    int count = 0;
    for (int row = top >> shift; row < bottom >> shift; ++row)
        for (int col = left >> shift; col < right >> shift; ++col, ++count)
            sum += plane[static_cast<size_t>(row * stride + col)];
    return count ? sum / count : 0;
}

std::vector<uint8_t> Elementary(const emulator::media::MediaLoop& loop)
{
    std::vector<uint8_t> bytes;
    for (const auto& unit : loop.units) {
        if (const auto pes = mpeg::ParseMpeg2PesPacket(unit.pes.data(), unit.pes.size(), nullptr))
            bytes.insert(bytes.end(), pes->payload, pes->payload + pes->payloadSize);
    }
    return bytes;
}

double BitsPerSecond(const emulator::media::MediaLoop& loop)
{
    size_t bytes = 0;
    for (const auto& unit : loop.units)
        bytes += unit.pes.size();
    return static_cast<double>(bytes) * 8 * 1000 / loop.durationMs;
}

std::vector<int> NalTypes(const std::vector<uint8_t>& annexB)
{
    std::vector<int> types;
    for (size_t i = 0; i + 3 < annexB.size(); ++i) {
        if (annexB[i] == 0 && annexB[i + 1] == 0 && annexB[i + 2] == 1) {
            types.push_back(annexB[i + 3] & 0x1F);
            i += 2;
        }
    }
    return types;
}

std::vector<Picture> DecodeVideo(const emulator::media::MediaLoop& loop, size_t count, std::string* error)
{
    std::vector<Picture> pictures;
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H264);
    std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> context(
        avcodec_alloc_context3(codec), [](AVCodecContext* c) { avcodec_free_context(&c); });
    std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
    std::unique_ptr<AVPacket, void (*)(AVPacket*)> packet(av_packet_alloc(), [](AVPacket* p) { av_packet_free(&p); });
    if (!codec || !context || avcodec_open2(context.get(), codec, nullptr) < 0) {
        *error = "no H.264 decoder";
        return pictures;
    }
    auto take = [&] {
        while (pictures.size() < count && avcodec_receive_frame(context.get(), frame.get()) == 0) {
            Picture picture;
            picture.width = frame->width;
            picture.height = frame->height;
            for (int plane = 0; plane < 3; ++plane) {
                const int shift = plane ? 1 : 0;
                auto& out = plane == 0 ? picture.y : plane == 1 ? picture.u : picture.v;
                for (int row = 0; row < frame->height >> shift; ++row) {
                    const uint8_t* line = frame->data[plane] + static_cast<ptrdiff_t>(row) * frame->linesize[plane];
                    out.insert(out.end(), line, line + (frame->width >> shift));
                }
            }
            pictures.push_back(std::move(picture));
        }
    };
    // A picture too large for one packet goes on in packets without a PTS.
    std::vector<uint8_t> accessUnit;
    auto send = [&] {
        if (accessUnit.empty())
            return true;
        const auto size = static_cast<int>(accessUnit.size());
        accessUnit.resize(accessUnit.size() + AV_INPUT_BUFFER_PADDING_SIZE, 0);
        packet->data = accessUnit.data();
        packet->size = size;
        const bool sent = avcodec_send_packet(context.get(), packet.get()) >= 0;
        accessUnit.clear();
        if (!sent)
            *error = "decoder refused a picture";
        take();
        return sent;
    };
    for (const auto& unit : loop.units) {
        const auto pes = mpeg::ParseMpeg2PesPacket(unit.pes.data(), unit.pes.size(), error);
        if (!pes)
            return pictures;
        if (pes->hasPts && !send())
            return pictures;
        if (pictures.size() >= count)
            return pictures;
        accessUnit.insert(accessUnit.end(), pes->payload, pes->payload + pes->payloadSize);
    }
    if (!send())
        return pictures;
    avcodec_send_packet(context.get(), nullptr);
    take();
    return pictures;
}

}  // namespace mediatest
