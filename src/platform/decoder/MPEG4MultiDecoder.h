#pragma once

#include "core/msg/WindowMessage.h"

#include <cstdint>
#include <memory>

class QPainter;
class QRegion;

// Multi-channel live decoder: up to 16 video channels and one audio channel
// from a program stream, drawn into one window.
//
// Threads: Demux is called by one thread at a time (the caller serialises it)
// and only parses and queues; a worker thread per core decodes the channels,
// each channel in order on one worker at a time; PaintVideo runs on the
// window's thread. Every other call may come from any thread.

// Posted to the window given to InitializeDecodeSystems when new pictures are
// ready (at most one pending at a time) and by Redraw. wParam and lParam are 0.
constexpr unsigned kMsgVideoFramesReady = 0x7100;

// The "device context" of the render callback: a painter whose origin is the
// pane's top-left. The two middle pointers are always null.
using MP4MUL_RenderCallback = void (*)(int channel, QPainter* dc, void* unused1, void* unused2, void* context);

// Process-wide set-up and tear-down of the codec libraries; both may be called
// more than once.
void MP4MUL_InitializeDecoder();
void MP4MUL_DestroyDecoder();

// A 16-byte program-stream pack header (14 bytes and two stuffing bytes).
void MP4MUL_make_pack_header(unsigned char* out16);

// A 276-byte program stream map of 32 elementary streams.
void MP4MUL_make_program_stream_map(unsigned char* out276, const unsigned char* streamTypes32,
                                    const int* maxWidths32, const int* maxHeights32,
                                    const unsigned char* streamIds32);

// Told, after each paint, of the pictures it drew: for measuring how long a
// picture takes from the recorder to the screen.
class PaintObserver {
public:
    virtual ~PaintObserver() = default;
    // pts: the picture's stream time stamp (90 kHz), -1 when it had none.
    virtual void Painted(int channel, int64_t pts) = 0;
};

class CMPEG4MultiDecoder {
public:
    static constexpr int kChannels = 16;

    CMPEG4MultiDecoder();
    virtual ~CMPEG4MultiDecoder();
    CMPEG4MultiDecoder(const CMPEG4MultiDecoder&) = delete;
    CMPEG4MultiDecoder& operator=(const CMPEG4MultiDecoder&) = delete;

    // Starts the decoder workers and the audio output; the window gets
    // kMsgVideoFramesReady. The middle flag is kept for the caller's sake;
    // pairedType5 marks a recorder whose pictures are two half-width cameras
    // (it changes nothing in decoding). True on success, also when already
    // initialised (the earlier state is disposed first).
    bool InitializeDecodeSystems(HWND videoWindow, bool flag, bool pairedType5);
    // Stops the workers and the audio output and forgets every picture, pane
    // and stream description. Safe to call when not initialised.
    void DisposeDecodeSystems();

    // One whole unit: pack header, system header, program stream map or PES
    // packet. Returns the number of bytes taken (end - begin) or -1 when the
    // unit was refused. Never blocks on decoding. flags is reserved (0).
    int Demux(const unsigned char* begin, const unsigned char* end, int flags);

    // Pane of a channel in window pixels; (0,0,1,1) (or any empty rectangle) hides it.
    void SetVideoPos(int channel, int left, int top, int right, int bottom);
    // Part of the decoded picture shown in the pane (zoom), in picture pixels;
    // (0,0,width,height) shows the whole picture.
    void SetVideoViewport(int channel, int left, int top, int right, int bottom);
    // Decoded picture size; 0 until a picture of the channel was decoded.
    int GetVideoWidth(int channel);
    int GetVideoHeight(int channel);

    // Asks the window to repaint every pane (posts kMsgVideoFramesReady). False when not initialised.
    bool Redraw();
    void SetRenderCallback(MP4MUL_RenderCallback fn, void* context);

    // Only audio stream id 0xC0 + camera plays.
    void SelectAudioChannel(int camera);
    void SetVolume(int volume0to100);
    void SetDeinterlace(bool on);

    // Writes the channel's newest picture at its decoded size as a JPEG file.
    // False when the channel has no picture or the file cannot be written.
    bool CaptureJPEG(const char* path, int channel);
    // Blanks the channel until its next decoded picture.
    void ClearChannel(int channel);

    // Called by the video window's paintEvent on the UI thread: draws the newest
    // frame of each visible channel at its rectangle, then runs the render
    // callback with the painter translated to the pane's top-left.
    void PaintVideo(QPainter& painter);
    // The same for the panes that meet region only; the others keep their
    // newest picture for a later paint.
    void PaintVideo(QPainter& painter, const QRegion& region);
    // The channels whose panes changed since the last call (bit c = channel
    // c): new pictures, cleared channels, all of them after Redraw. The
    // window's handler of kMsgVideoFramesReady repaints just those panes;
    // taking them also lets the next new picture post a message again.
    std::uint16_t TakeChangedChannels();
    // Null (the default) for none. The window's thread only.
    void SetPaintObserver(PaintObserver* observer);

    // Frames decoded, shown, units skipped by the overload policy, pictures
    // dropped from the newest-frame slot unseen.
    struct Stats {
        uint64_t decoded, presented, skipped, dropped;
    };
    Stats GetStats(int channel) const;

private:
    void PaintPanes(QPainter& painter, const QRegion* region);

    class Impl;
    std::unique_ptr<Impl> m_impl;
};
