#pragma once

#include "core/mpeg/StreamType.h"
#include "platform/decoder/FrameSink.h"

#include <cstddef>
#include <cstdint>

struct AVCodecContext;
struct AVCodecParserContext;
struct AVFrame;
struct AVPacket;

// One single-threaded libavcodec video decoder with its parser: elementary
// stream bytes in any cut go in, whole pictures come out. Damaged data is
// passed over; the decoder goes on with what follows.
class VideoFrameDecoder {
public:
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
    void Decode(const uint8_t* data, size_t size, const FrameSink& sink);
    // The stream paused: decodes the picture the parser holds, taking it as
    // whole, and goes on with a fresh parser but the same reference pictures.
    void FlushParser(const FrameSink& sink);

private:
    void Close();
    void ResetParser();
    void SendParserRemainder(const FrameSink& sink);
    void SendPacket(const AVPacket* packet, const FrameSink& sink);

    mpeg::VideoCodec m_codec = mpeg::VideoCodec::Unknown;
    AVCodecContext* m_context = nullptr;
    AVCodecParserContext* m_parser = nullptr;
    AVPacket* m_packet;
    AVFrame* m_frame;
};
