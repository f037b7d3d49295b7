#include "platform/decoder/AlignedBuffer.h"

#include <cstdlib>
#include <new>

AlignedBuffer::AlignedBuffer(size_t capacity)
{
    if (capacity == 0)
        return;
    const size_t rounded = (capacity + kAlignment - 1) / kAlignment * kAlignment;
    void* p = std::aligned_alloc(kAlignment, rounded);
    if (!p)
        throw std::bad_alloc();
    m_data.reset(static_cast<uint8_t*>(p));
    m_capacity = rounded;
}

void AlignedBuffer::Free::operator()(uint8_t* p) const
{
    std::free(p);
}
