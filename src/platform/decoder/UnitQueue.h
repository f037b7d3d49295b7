#pragma once

#include "core/mpeg/StreamType.h"
#include "platform/decoder/AlignedBuffer.h"
#include "platform/decoder/AlignedBufferPool.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

// One PES payload of a video channel, copied for its decoder.
struct VideoUnit {
    AlignedBuffer buffer;
    size_t size = 0;
    bool startsPicture = false;  // the unit begins a new picture
    bool endsPicture = false;    // the unit is known to complete its picture
    int64_t pts = -1;            // 90 kHz, -1 when the unit has none
    bool keyframe = false;       // a decoder can start at this unit
    mpeg::VideoCodec codec = mpeg::VideoCodec::Unknown;
    bool resync = false;         // units before it were dropped: start afresh
};

// The bounded queue between Demux and one channel's decoder, with the
// overload policy: when more than two pictures are waiting as a new one
// arrives, what waits is discarded, all but the newest waiting keyframe
// picture, and so is everything that arrives up to the next keyframe. Keeping
// that keyframe means a burst from the network does not leave the channel
// without pictures for a whole group. A channel also starts (and restarts
// after Resync) at a keyframe, so a stream joined in the middle of a group of
// pictures shows no broken pictures. Discarded units are counted.
class UnitQueue {
public:
    static constexpr size_t kMaxWaitingPictures = 2;
    static constexpr size_t kMaxUnits = 256;
    static constexpr size_t kMaxBytes = size_t(16) << 20;
    // A stream without recognisable keyframes (intra refresh) is taken as it
    // comes after this many pictures of waiting.
    static constexpr size_t kMaxPicturesBeforeKeyframe = 300;

    explicit UnitQueue(std::atomic<uint64_t>& skippedCounter);

    // A buffer of at least size bytes, recycled when one is spare.
    AlignedBuffer TakeBuffer(size_t size);
    void Recycle(AlignedBuffer buffer);

    // Queues the unit or discards it by the policy above. Never blocks on the consumer.
    void Push(VideoUnit unit);
    // The next unit; false when none waits.
    bool Pop(VideoUnit* out);
    // Discards what waits; the next unit taken is a keyframe.
    void Resync();

    size_t WaitingUnits() const;

private:
    void KeepNewestKeyframeLocked();
    void DiscardWaitingLocked(bool count);

    mutable std::mutex m_lock;  // guards m_units to m_picturesAwaiting
    std::deque<VideoUnit> m_units;
    size_t m_pictures = 0;
    size_t m_bytes = 0;
    bool m_awaitKeyframe = true;
    size_t m_picturesAwaiting = 0;

    AlignedBufferPool m_spare;  // has its own lock

    std::atomic<uint64_t>& m_skipped;
};
