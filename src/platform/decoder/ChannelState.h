#pragma once

#include "platform/decoder/FrameSlot.h"
#include "platform/decoder/PictureScaler.h"
#include "platform/decoder/VideoRect.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

struct AVFrame;

// What one decoder channel shares between the window's thread (pane,
// viewport, painting, capture) and the worker decoding the channel (newest
// decoded frame, size, scaled pictures). Outlives the decoder workers.
class ChannelState {
public:
    struct Geometry {
        VideoRect pane;
        VideoRect viewport;  // empty: the whole picture
        uint64_t generation = 0;
    };

    ChannelState();
    ~ChannelState();
    ChannelState(const ChannelState&) = delete;
    ChannelState& operator=(const ChannelState&) = delete;

    void SetPane(const VideoRect& pane);
    void SetViewport(const VideoRect& viewport);
    Geometry CurrentGeometry() const;

    // Keeps a reference to the newest decoded picture (for capture and for
    // scaling again after a pane change) and records its size.
    void StoreFrame(const AVFrame* frame);
    // A new reference to the newest decoded picture; false when there is none.
    bool CopyFrame(AVFrame* out) const;
    int Width() const { return m_width.load(); }
    int Height() const { return m_height.load(); }

    FrameSlot& Slot() { return m_slot; }
    // The picture to paint, scaled again from the newest decoded frame when
    // the pane or viewport changed since it was made. Window thread only.
    std::shared_ptr<const ScaledPicture> PictureForPaint();

    // Blanks the channel: no picture until the next decoded one. Forgets the
    // viewport, keeps the pane and the last known size.
    void Clear();
    // Forgets everything but the pane and the counters (decoder restart).
    void Reset();

    std::atomic<uint64_t> decoded{0};
    std::atomic<uint64_t> skipped{0};

private:
    mutable std::mutex m_lock;  // guards m_geometry, m_frame, m_paintScaler
    Geometry m_geometry;
    AVFrame* m_frame;
    PictureScaler m_paintScaler;

    std::atomic<int> m_width{0};
    std::atomic<int> m_height{0};
    FrameSlot m_slot;
};
