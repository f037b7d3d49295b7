#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace benchsupport {

// What the live path is measured against: one camera's plain single-threaded
// libavcodec H.264 decode, whole access units in, and swscale of every picture
// to the pane size as 32-bit RGB (fast bilinear, as for the sixteen-pane
// layout).
class BaselineDecoder {
public:
    BaselineDecoder(int paneWidth, int paneHeight);
    ~BaselineDecoder();
    BaselineDecoder(const BaselineDecoder&) = delete;
    BaselineDecoder& operator=(const BaselineDecoder&) = delete;

    // One access unit; returns the pictures it gave.
    int Decode(const std::uint8_t* data, std::size_t size);
    // The end of the stream: returns the pictures still held back.
    int Flush();

private:
    int Receive();

    int m_paneWidth;
    int m_paneHeight;
    AVCodecContext* m_context = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    SwsContext* m_scaler = nullptr;
    std::vector<std::uint8_t> m_pane;
};

} // namespace benchsupport
