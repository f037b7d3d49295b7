#pragma once

#include "core/mpeg/StreamType.h"
#include "platform/decoder/FrameSink.h"
#include "platform/decoder/ParameterSetBudget.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct AVCodecContext;
struct AVCodecParserContext;
struct AVFrame;
struct AVPacket;

// One single-threaded libavcodec video decoder with its parser: elementary
// stream bytes in any cut go in, whole pictures come out. Damaged data is
// passed over; the decoder goes on with what follows. What it holds stays
// bounded whatever the bytes: pictures larger than kMaxPixels are refused
// (a damaged header could otherwise ask for hundreds of megabytes each, held
// by every reference picture), and H.264 parameter sets go through a
// ParameterSetBudget.
class VideoFrameDecoder {
public:
    // 1920 x 1088: full HD, several times any recorder's picture.
    static constexpr long long kMaxPixels = 1920LL * 1088;
    // A unit without a time stamp.
    static constexpr int64_t kNoPts = -1;

    VideoFrameDecoder();
    ~VideoFrameDecoder();
    VideoFrameDecoder(const VideoFrameDecoder&) = delete;
    VideoFrameDecoder& operator=(const VideoFrameDecoder&) = delete;

    // Opens a decoder for the codec, closing any other. False when it cannot.
    bool Open(mpeg::VideoCodec codec);
    mpeg::VideoCodec Codec() const { return m_codec; }
    // Decodes what the parser still holds (its last picture waits for the
    // start of the next one), then starts afresh with no partial data and no
    // reference pictures: units before the next one were dropped.
    void Restart(const FrameSink& sink);
    // pts (90 kHz, or kNoPts) goes with the picture that begins in the bytes.
    void Decode(const uint8_t* data, size_t size, int64_t pts, const FrameSink& sink);
    // The stream paused: decodes the picture the parser holds, taking it as
    // whole, and goes on with a fresh parser but the same reference pictures.
    void FlushParser(const FrameSink& sink);

private:
    void Close();
    bool OpenContext(mpeg::VideoCodec codec);
    // A fresh decoder and parser of the same codec, primed with the budget's sets.
    void Reopen(const FrameSink& sink);
    void Feed(const uint8_t* data, size_t size, int64_t pts, const FrameSink& sink);
    void ResetParser();
    void SendParserRemainder(const FrameSink& sink);
    void SendPacket(const AVPacket* packet, const FrameSink& sink);

    mpeg::VideoCodec m_codec = mpeg::VideoCodec::Unknown;
    AVCodecContext* m_context = nullptr;
    AVCodecParserContext* m_parser = nullptr;
    AVPacket* m_packet;
    AVFrame* m_frame;
    ParameterSetBudget m_parameterSets;
    std::vector<ParameterSetBudget::Run> m_runs;  // kept to spare allocations
};
