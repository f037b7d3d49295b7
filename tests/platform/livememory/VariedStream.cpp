#include "VariedStream.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

#include <stdexcept>
#include <string>

namespace livemem {

namespace {

constexpr int kKeyframeEvery = 10;
constexpr std::uint64_t kPtsPerPicture = 3600;  // 25 pictures a second
constexpr std::size_t kMaxGarbageBytes = 40000;
constexpr int kParameterSetsPerUnit = 64;


// Writes H.264 syntax elements most significant bit first.
class BitWriter {
public:
    void Put(unsigned value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i) {
            if (m_bit == 0)
                m_bytes.push_back(0);
            m_bytes.back() |= std::uint8_t(((value >> i) & 1u) << (7 - m_bit));
            m_bit = (m_bit + 1) % 8;
        }
    }
    void Ue(unsigned value)
    {
        const unsigned coded = value + 1;
        int bits = 0;
        while ((coded >> bits) > 1)
            ++bits;
        Put(0, bits);
        Put(coded, bits + 1);
    }
    void Se(int value) { Ue(value > 0 ? unsigned(2 * value - 1) : unsigned(-2 * value)); }
    // The RBSP with its stop bit, escaped so no start code appears inside.
    std::vector<std::uint8_t> Nal(std::uint8_t header)
    {
        Put(1, 1);
        m_bit = 0;
        std::vector<std::uint8_t> nal{0, 0, 0, 1, header};
        int zeros = 0;
        for (std::uint8_t byte : m_bytes) {
            if (zeros >= 2 && byte <= 3) {
                nal.push_back(3);
                zeros = 0;
            }
            nal.push_back(byte);
            zeros = byte == 0 ? zeros + 1 : 0;
        }
        return nal;
    }

private:
    std::vector<std::uint8_t> m_bytes;
    int m_bit = 0;
};

void Drain(AVCodecContext* ctx, AVPacket* packet, std::vector<Picture>* out)
{
    while (avcodec_receive_packet(ctx, packet) >= 0) {
        out->push_back({std::vector<std::uint8_t>(packet->data, packet->data + packet->size),
                        (packet->flags & AV_PKT_FLAG_KEY) != 0});
        av_packet_unref(packet);
    }
}

} // namespace

Clip EncodeClip(const char* name, const char* encoder, int width, int height, bool interlaced, int pictures)
{
    av_log_set_level(AV_LOG_ERROR);
    const AVCodec* codec = avcodec_find_encoder_by_name(encoder);
    if (codec == nullptr)
        throw std::runtime_error(std::string("no encoder ") + encoder);
    AVCodecContext* ctx = avcodec_alloc_context3(codec);
    ctx->width = width;
    ctx->height = height;
    ctx->pix_fmt = AV_PIX_FMT_YUV420P;
    ctx->time_base = AVRational{1, 25};
    ctx->gop_size = kKeyframeEvery;
    ctx->max_b_frames = 0;
    ctx->thread_count = 1;
    ctx->bit_rate = 1500000;
    if (interlaced)
        ctx->flags |= AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME;
    if (codec->id == AV_CODEC_ID_H264) {
        av_opt_set(ctx->priv_data, "preset", "ultrafast", 0);
        av_opt_set(ctx->priv_data, "tune", "zerolatency", 0);
    }
    if (avcodec_open2(ctx, codec, nullptr) < 0) {
        avcodec_free_context(&ctx);
        throw std::runtime_error(std::string("cannot open ") + encoder);
    }
    AVFrame* frame = av_frame_alloc();
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = width;
    frame->height = height;
    av_frame_get_buffer(frame, 0);
    AVPacket* packet = av_packet_alloc();
    Clip clip{name, codec->id == AV_CODEC_ID_H264, {}};
    for (int i = 0; i < pictures; ++i) {
        av_frame_make_writable(frame);
        // A gradient that moves, with a different colour per clip.
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                frame->data[0][y * frame->linesize[0] + x] = std::uint8_t(x + y + 4 * i);
        for (int plane = 1; plane < 3; ++plane)
            for (int y = 0; y < height / 2; ++y)
                for (int x = 0; x < width / 2; ++x)
                    frame->data[plane][y * frame->linesize[plane] + x] = std::uint8_t(plane * width + y);
        frame->pts = i;
        frame->interlaced_frame = interlaced;
        frame->top_field_first = interlaced;
        avcodec_send_frame(ctx, frame);
        Drain(ctx, packet, &clip.pictures);
    }
    avcodec_send_frame(ctx, nullptr);
    Drain(ctx, packet, &clip.pictures);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&ctx);
    return clip;
}

std::vector<Clip> EncodeClips(int pictures)
{
    return {EncodeClip("h264 176x144", "libx264", 176, 144, false, pictures),
            EncodeClip("h264 352x288", "libx264", 352, 288, false, pictures),
            EncodeClip("h264 704x576 interlaced", "libx264", 704, 576, true, pictures),
            EncodeClip("h264 1280x720", "libx264", 1280, 720, false, pictures),
            EncodeClip("mpeg4 320x240", "mpeg4", 320, 240, false, pictures),
            EncodeClip("mpeg4 704x576", "mpeg4", 704, 576, false, pictures)};
}

// A picture parameter set for sequence parameter set 0 (x264's), CAVLC.
std::vector<std::uint8_t> PictureParameterSet(unsigned id)
{
    BitWriter bits;
    bits.Ue(id);
    bits.Ue(0);     // seq_parameter_set_id
    bits.Put(0, 1); // entropy_coding_mode_flag
    bits.Put(0, 1); // bottom_field_pic_order_in_frame_present_flag
    bits.Ue(0);     // num_slice_groups_minus1
    bits.Ue(0);     // num_ref_idx_l0_default_active_minus1
    bits.Ue(0);     // num_ref_idx_l1_default_active_minus1
    bits.Put(0, 1); // weighted_pred_flag
    bits.Put(0, 2); // weighted_bipred_idc
    bits.Se(0);     // pic_init_qp_minus26
    bits.Se(0);     // pic_init_qs_minus26
    bits.Se(0);     // chroma_qp_index_offset
    bits.Put(1, 1); // deblocking_filter_control_present_flag
    bits.Put(0, 1); // constrained_intra_pred_flag
    bits.Put(0, 1); // redundant_pic_cnt_present_flag
    return bits.Nal(0x68);
}

std::vector<std::uint8_t> SequenceSetHead(unsigned id)
{
    BitWriter bits;
    bits.Put(66, 8);  // profile_idc: baseline
    bits.Put(0, 8);   // constraint flags
    bits.Put(30, 8);  // level_idc
    bits.Ue(id);
    return bits.Nal(0x67);
}

std::vector<std::uint8_t> SliceHead(unsigned pictureSetId)
{
    BitWriter bits;
    bits.Ue(0);  // first_mb_in_slice
    bits.Ue(5);  // slice_type: P
    bits.Ue(pictureSetId);
    return bits.Nal(0x41);
}

CameraPlayer::CameraPlayer(const std::vector<Clip>& clips, unsigned seed) : m_clips(clips), m_random(seed)
{
}

void CameraPlayer::StartPiece()
{
    m_clip = &m_clips[m_random() % m_clips.size()];
    m_kind = static_cast<Kind>(m_random() % kKinds);
    // Parameter sets go with an H.264 clip's pictures.
    if (m_kind == Kind::ParameterSets && !m_clip->h264)
        m_kind = Kind::Whole;
    const std::size_t count = m_clip->pictures.size();
    m_next = 0;
    if (m_kind == Kind::JoinMidGroup)
        m_next = 1 + m_random() % (kKeyframeEvery - 1);
    m_end = m_next + 1 + m_random() % (count - m_next);
}

void CameraPlayer::Next(std::vector<std::uint8_t>* unit, std::uint64_t* pts)
{
    if (m_clip == nullptr || m_next >= m_end)
        StartPiece();
    const std::vector<std::uint8_t>& picture = m_clip->pictures[m_next++].data;
    m_pts += kPtsPerPicture;
    *pts = m_pts;
    switch (m_kind) {
    case Kind::Truncated:
        unit->assign(picture.begin(), picture.begin() + std::ptrdiff_t(1 + m_random() % picture.size()));
        break;
    case Kind::Damaged:
        *unit = picture;
        for (int flips = 0; flips < 8; ++flips)
            (*unit)[m_random() % unit->size()] ^= std::uint8_t(1u << (m_random() % 8));
        break;
    case Kind::Garbage:
        unit->resize(1 + m_random() % kMaxGarbageBytes);
        for (std::uint8_t& byte : *unit)
            byte = std::uint8_t(m_random());
        break;
    case Kind::ParameterSets:
        // Sent with a keyframe (as a restarting recorder sends them), so a
        // decoder that is behind takes them instead of skipping them.
        *unit = m_clip->pictures[(m_next - 1) / kKeyframeEvery * kKeyframeEvery].data;
        AddParameterSets(unit);
        break;
    default:
        *unit = picture;
        break;
    }
}

void CameraPlayer::AddParameterSets(std::vector<std::uint8_t>* unit)
{
    for (int i = 0; i < kParameterSetsPerUnit; ++i) {
        const std::vector<std::uint8_t> nal = PictureParameterSet(m_random() % 256);
        unit->insert(unit->end(), nal.begin(), nal.end());
    }
}

} // namespace livemem
