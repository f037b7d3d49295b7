#include "bench/support/BaselineDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

#include <algorithm>

namespace benchsupport {

BaselineDecoder::BaselineDecoder(int paneWidth, int paneHeight)
    : m_paneWidth(paneWidth), m_paneHeight(paneHeight), m_packet(av_packet_alloc()), m_frame(av_frame_alloc()),
      m_pane(static_cast<std::size_t>(paneWidth) * static_cast<std::size_t>(paneHeight) * 4)
{
    m_context = avcodec_alloc_context3(avcodec_find_decoder(AV_CODEC_ID_H264));
    m_context->thread_count = 1;
    avcodec_open2(m_context, m_context->codec, nullptr);
}

BaselineDecoder::~BaselineDecoder()
{
    sws_freeContext(m_scaler);
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_context);
}

int BaselineDecoder::Decode(const std::uint8_t* data, std::size_t size)
{
    if (av_new_packet(m_packet, static_cast<int>(size)) < 0)
        return 0;
    std::copy(data, data + size, m_packet->data);
    avcodec_send_packet(m_context, m_packet);
    av_packet_unref(m_packet);
    return Receive();
}

int BaselineDecoder::Flush()
{
    avcodec_send_packet(m_context, nullptr);
    return Receive();
}

int BaselineDecoder::Receive()
{
    int pictures = 0;
    while (avcodec_receive_frame(m_context, m_frame) == 0) {
        m_scaler = sws_getCachedContext(m_scaler, m_frame->width, m_frame->height,
                                        static_cast<AVPixelFormat>(m_frame->format), m_paneWidth, m_paneHeight,
                                        AV_PIX_FMT_BGRA, SWS_FAST_BILINEAR, nullptr, nullptr, nullptr);
        std::uint8_t* destination[4] = {m_pane.data(), nullptr, nullptr, nullptr};
        const int stride[4] = {m_paneWidth * 4, 0, 0, 0};
        sws_scale(m_scaler, m_frame->data, m_frame->linesize, 0, m_frame->height, destination, stride);
        ++pictures;
    }
    return pictures;
}

} // namespace benchsupport
