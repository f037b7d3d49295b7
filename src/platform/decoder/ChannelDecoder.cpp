#include "platform/decoder/ChannelDecoder.h"

#include "core/mpeg/ElementaryStreamProbe.h"

#include <cstdint>

extern "C" {
#include <libavutil/frame.h>
}

#include <cstring>

ChannelDecoder::ChannelDecoder(int channel, ChannelState& state, const std::atomic<bool>& deinterlace,
                               RepaintRequester& repaint)
    : m_channelBit(std::uint32_t{1} << channel), m_state(state), m_deinterlace(deinterlace), m_repaint(repaint),
      m_queue(state.skipped)
{
}

void ChannelDecoder::Submit(const mpeg::PesPacket& pes, mpeg::VideoCodec declared)
{
    const uint8_t* payload = pes.payload;
    const size_t size = pes.payloadSize;
    const bool hasPts = pes.hasPts;
    if (size == 0)
        return;
    if (declared != m_declared) {
        m_declared = declared;
        m_streamCodec = declared;
    }
    const mpeg::VideoCodec probed = mpeg::ProbeVideoCodec(payload, size);
    if (probed != mpeg::VideoCodec::Unknown)
        m_streamCodec = probed;
    m_seenPts = m_seenPts || hasPts;

    VideoUnit unit;
    unit.buffer = m_queue.TakeBuffer(size);
    std::memcpy(unit.buffer.Data(), payload, size);
    unit.size = size;
    // Without time stamps in the stream every unit is taken for a picture.
    unit.startsPicture = hasPts || !m_seenPts;
    unit.pts = hasPts ? int64_t(pes.pts) : VideoFrameDecoder::kNoPts;
    if (!hasPts && m_lastUnitEndedPicture)
        m_shortUnitsEndPictures = false;
    unit.endsPicture = m_seenPts && m_shortUnitsEndPictures && pes.size < mpeg::kMaxPesPacketBytes;
    m_lastUnitEndedPicture = unit.endsPicture;
    unit.codec = m_streamCodec;
    unit.keyframe = m_streamCodec != mpeg::VideoCodec::Unknown && mpeg::ContainsKeyframe(m_streamCodec, payload, size);
    m_queue.Push(std::move(unit));
}

void ChannelDecoder::Resync()
{
    m_queue.Resync();
}

DecoderJob::Turn ChannelDecoder::Run(Clock::time_point now)
{
    VideoUnit unit;
    int decoded = 0;
    while (decoded < kUnitsPerTurn && m_queue.Pop(&unit)) {
        DecodeUnit(unit);
        m_queue.Recycle(std::move(unit.buffer));
        ++decoded;
    }
    if (decoded > 0)
        m_lastDecoded = now;
    const bool moreWork = decoded == kUnitsPerTurn;
    if (!m_pictureOpen && !m_deinterlacerFed)
        return Turn{moreWork};
    if (decoded > 0 || now - m_lastDecoded < kPauseBeforeFlush)
        return Turn{moreWork, m_lastDecoded + kPauseBeforeFlush};
    ShowHeldPictures();
    return Turn{};
}

void ChannelDecoder::ShowHeldPictures()
{
    m_decoder.FlushParser([this](const AVFrame* frame) { OnDecoded(frame); });
    m_deinterlacer.Flush([this](const AVFrame* frame) { Present(frame); });
    m_pictureOpen = false;
    m_deinterlacerFed = false;
}

void ChannelDecoder::DecodeUnit(VideoUnit& unit)
{
    const FrameSink sink = [this](const AVFrame* frame) { OnDecoded(frame); };
    const bool codecChanged = unit.codec != mpeg::VideoCodec::Unknown && unit.codec != m_decoder.Codec();
    if (codecChanged || unit.resync) {
        m_decoder.Restart(sink);
        m_deinterlacer.Reset();
        m_deinterlacerFed = false;
    }
    if (codecChanged && !m_decoder.Open(unit.codec))
        return;
    m_decoder.Decode(unit.buffer.Data(), unit.size, unit.pts, sink);
    m_pictureOpen = !unit.endsPicture;
    if (unit.endsPicture)
        m_decoder.FlushParser(sink);
}

void ChannelDecoder::OnDecoded(const AVFrame* frame)
{
    m_state.decoded.fetch_add(1);
    // Progressive pictures bypass the filter so they wait for no look-ahead picture.
    if (m_deinterlace.load() && frame->interlaced_frame) {
        m_deinterlacerFed = true;
        m_deinterlacer.Process(frame, [this](const AVFrame* out) { Present(out); });
        return;
    }
    Present(frame);
}

void ChannelDecoder::Present(const AVFrame* frame)
{
    m_state.StoreFrame(frame);
    const ChannelState::Geometry geometry = m_state.CurrentGeometry();
    if (!IsHiddenPane(geometry.pane)) {
        auto picture = m_scaler.Scale(frame, geometry.viewport, geometry.pane.Width(), geometry.pane.Height(),
                                      geometry.generation);
        if (picture)
            m_state.Slot().Put(std::move(picture));
    }
    m_repaint.Request(m_channelBit);
}
