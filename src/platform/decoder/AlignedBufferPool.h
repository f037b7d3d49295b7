#pragma once

#include "platform/decoder/AlignedBuffer.h"

#include <cstddef>
#include <mutex>
#include <vector>

// Spare aligned buffers handed round between threads, so the video path does
// not allocate (and fault in fresh pages) for every unit or picture.
class AlignedBufferPool {
public:
    // Keeps at most maxSpare buffers; new ones hold at least minCapacity bytes.
    AlignedBufferPool(std::size_t maxSpare, std::size_t minCapacity);

    // A spare buffer of size to max(2 * size, minCapacity) bytes, or a new one.
    AlignedBuffer Take(std::size_t size);
    // Keeps the buffer for a later Take, letting the oldest spare go when
    // maxSpare are kept.
    void Give(AlignedBuffer buffer);
    std::size_t SpareCount() const;

private:
    const std::size_t m_maxSpare;
    const std::size_t m_minCapacity;
    mutable std::mutex m_lock;  // guards m_spare
    std::vector<AlignedBuffer> m_spare;
};
