#include "platform/decoder/VideoFrameDecoder.h"

#include <cstdint>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <new>

namespace {

AVCodecID CodecId(mpeg::VideoCodec codec)
{
    switch (codec) {
    case mpeg::VideoCodec::H264: return AV_CODEC_ID_H264;
    case mpeg::VideoCodec::Mpeg4Part2: return AV_CODEC_ID_MPEG4;
    default: return AV_CODEC_ID_NONE;
    }
}

} // namespace

VideoFrameDecoder::VideoFrameDecoder() : m_packet(av_packet_alloc()), m_frame(av_frame_alloc())
{
    if (!m_packet || !m_frame) {
        av_packet_free(&m_packet);
        av_frame_free(&m_frame);
        throw std::bad_alloc();
    }
}

VideoFrameDecoder::~VideoFrameDecoder()
{
    Close();
    av_packet_free(&m_packet);
    av_frame_free(&m_frame);
}

void VideoFrameDecoder::Close()
{
    av_parser_close(m_parser);
    m_parser = nullptr;
    avcodec_free_context(&m_context);
    m_codec = mpeg::VideoCodec::Unknown;
}

bool VideoFrameDecoder::Open(mpeg::VideoCodec codec)
{
    Close();
    m_parameterSets.Reset();
    return OpenContext(codec);
}

bool VideoFrameDecoder::OpenContext(mpeg::VideoCodec codec)
{
    const AVCodec* decoder = avcodec_find_decoder(CodecId(codec));
    if (!decoder)
        return false;
    m_context = avcodec_alloc_context3(decoder);
    m_parser = av_parser_init(decoder->id);
    if (!m_context || !m_parser) {
        Close();
        return false;
    }
    // Frame threads would add a picture of delay each; channels run side by side instead.
    m_context->thread_count = 1;
    m_context->max_pixels = kMaxPixels;
    if (avcodec_open2(m_context, decoder, nullptr) < 0) {
        Close();
        return false;
    }
    m_codec = codec;
    return true;
}

void VideoFrameDecoder::Restart(const FrameSink& sink)
{
    if (!m_context)
        return;
    SendParserRemainder(sink);
    SendPacket(nullptr, sink);  // drains pictures the decoder holds back
    // Flushing forgets the reference pictures but keeps the decoder and its
    // picture buffers: an overloaded channel restarts at every skip, and
    // building a new decoder each time costs time and scatters memory.
    avcodec_flush_buffers(m_context);
    ResetParser();
}

void VideoFrameDecoder::FlushParser(const FrameSink& sink)
{
    if (!m_context)
        return;
    SendParserRemainder(sink);
    ResetParser();
}

void VideoFrameDecoder::ResetParser()
{
    av_parser_close(m_parser);
    m_parser = av_parser_init(m_context->codec_id);
    if (!m_parser)
        Close();
}

void VideoFrameDecoder::SendParserRemainder(const FrameSink& sink)
{
    uint8_t* out = nullptr;
    int outSize = 0;
    av_parser_parse2(m_parser, m_context, &out, &outSize, nullptr, 0, AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
    if (outSize > 0) {
        m_packet->data = out;
        m_packet->size = outSize;
        m_packet->pts = m_parser->pts;
        SendPacket(m_packet, sink);
    }
}

void VideoFrameDecoder::Reopen(const FrameSink& sink)
{
    // What the old decoder holds is shown first, as on a restart.
    SendParserRemainder(sink);
    SendPacket(nullptr, sink);
    const mpeg::VideoCodec codec = m_codec;
    Close();
    if (OpenContext(codec))
        Feed(m_parameterSets.Priming().data(), m_parameterSets.Priming().size(), kNoPts, sink);
}

void VideoFrameDecoder::Decode(const uint8_t* data, size_t size, int64_t pts, const FrameSink& sink)
{
    if (m_codec != mpeg::VideoCodec::H264) {
        Feed(data, size, pts, sink);
        return;
    }
    m_parameterSets.Plan(data, size, &m_runs);
    for (const ParameterSetBudget::Run& run : m_runs) {
        if (run.reopenFirst)
            Reopen(sink);
        Feed(run.data, run.size, pts, sink);
    }
}

void VideoFrameDecoder::Feed(const uint8_t* data, size_t size, int64_t pts, const FrameSink& sink)
{
    if (!m_context)
        return;
    const int64_t parserPts = pts == kNoPts ? AV_NOPTS_VALUE : pts;
    while (size > 0) {
        uint8_t* out = nullptr;
        int outSize = 0;
        const int used = av_parser_parse2(m_parser, m_context, &out, &outSize, data, int(size), parserPts,
                                          AV_NOPTS_VALUE, 0);
        if (used < 0)
            return;
        data += used;
        size -= size_t(used);
        if (outSize > 0) {
            m_packet->data = out;
            m_packet->size = outSize;
            m_packet->pts = m_parser->pts;
            SendPacket(m_packet, sink);
        }
        if (used == 0 && outSize == 0)
            return;
    }
}

void VideoFrameDecoder::SendPacket(const AVPacket* packet, const FrameSink& sink)
{
    // A damaged packet is refused; the decoder carries on with the next one.
    if (avcodec_send_packet(m_context, packet) < 0)
        return;
    while (avcodec_receive_frame(m_context, m_frame) >= 0) {
        sink(m_frame);
        av_frame_unref(m_frame);
    }
}
