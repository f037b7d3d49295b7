#pragma once

#include "platform/decoder/ScaledPicture.h"

#include <cstdint>
#include <memory>
#include <mutex>

// The newest picture of one channel, handed from its decoder to the painter.
// Only the newest is kept: a picture replaced before it was shown is counted
// as dropped. The last picture stays until cleared, so a channel whose stream
// stops keeps showing it.
class FrameSlot {
public:
    // A newly decoded picture.
    void Put(std::shared_ptr<const ScaledPicture> picture);
    // The same picture scaled again for a new pane or viewport: not counted.
    void Rescaled(std::shared_ptr<const ScaledPicture> picture);
    // The picture to paint (null when there is none); counts it as presented
    // the first time it is taken.
    std::shared_ptr<const ScaledPicture> Take();
    // The picture without counting anything.
    std::shared_ptr<const ScaledPicture> Peek() const;
    void Clear();

    uint64_t Presented() const;
    uint64_t Dropped() const;

private:
    mutable std::mutex m_lock;  // guards m_picture, m_fresh, m_presented, m_dropped
    std::shared_ptr<const ScaledPicture> m_picture;
    bool m_fresh = false;
    uint64_t m_presented = 0;
    uint64_t m_dropped = 0;
};
