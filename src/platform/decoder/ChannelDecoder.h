#pragma once

#include "core/mpeg/PesPacket.h"
#include "core/mpeg/StreamType.h"
#include "platform/decoder/ChannelState.h"
#include "platform/decoder/DecoderJob.h"
#include "platform/decoder/Deinterlacer.h"
#include "platform/decoder/PictureScaler.h"
#include "platform/decoder/RepaintRequester.h"
#include "platform/decoder/UnitQueue.h"
#include "platform/decoder/VideoFrameDecoder.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>

struct AVFrame;

// The decoding of one video channel: Submit (on the Demux thread) copies a
// PES payload into the channel's queue; a decoder worker then runs the
// channel's turn (see DecoderWorkers): it decodes, deinterlaces when asked,
// scales each picture once to the pane and puts it in the channel's
// newest-frame slot, then asks the window to repaint.
class ChannelDecoder : public DecoderJob {
public:
    // A picture goes on into a following unit only when its PES packet is
    // full, so in a stream with time stamps a shorter unit completes its
    // picture and is decoded at once. Otherwise the parser gives out a
    // picture when the next one begins, and the deinterlacer looks one
    // picture ahead: when no unit comes for this long the stream has paused
    // (a slow camera, or one that stopped) and what they hold is shown
    // instead of waiting for the next picture. The parts of one picture
    // arrive back to back, well within it.
    static constexpr std::chrono::milliseconds kPauseBeforeFlush{100};
    // Units one turn decodes before the other channels get theirs.
    static constexpr int kUnitsPerTurn = 4;

    ChannelDecoder(int channel, ChannelState& state, const std::atomic<bool>& deinterlace,
                   RepaintRequester& repaint);
    ChannelDecoder(const ChannelDecoder&) = delete;
    ChannelDecoder& operator=(const ChannelDecoder&) = delete;

    // Called by one thread at a time. declared is the codec the stream map
    // names for the stream (Unknown when none); the bytes themselves decide
    // when they can. The channel then needs a turn.
    void Submit(const mpeg::PesPacket& pes, mpeg::VideoCodec declared);
    // Drops what waits and starts again at the next keyframe.
    void Resync();

    Turn Run(Clock::time_point now) override;

private:
    void DecodeUnit(VideoUnit& unit);
    void ShowHeldPictures();
    void OnDecoded(const AVFrame* frame);
    void Present(const AVFrame* frame);

    const std::uint32_t m_channelBit;
    ChannelState& m_state;
    const std::atomic<bool>& m_deinterlace;
    RepaintRequester& m_repaint;
    UnitQueue m_queue;

    // Submit side: used only by the thread calling Submit.
    mpeg::VideoCodec m_declared = mpeg::VideoCodec::Unknown;
    mpeg::VideoCodec m_streamCodec = mpeg::VideoCodec::Unknown;
    bool m_seenPts = false;
    // Cleared for good when a picture goes on after a shorter unit: the
    // stream cuts its pictures some other way.
    bool m_shortUnitsEndPictures = true;
    bool m_lastUnitEndedPicture = false;

    // Decoding side: used only by the turns, one at a time.
    VideoFrameDecoder m_decoder;
    Deinterlacer m_deinterlacer;
    PictureScaler m_scaler;
    bool m_pictureOpen = false;       // the parser may hold a picture back
    bool m_deinterlacerFed = false;   // the deinterlacer may hold a picture back
    Clock::time_point m_lastDecoded;
};
