#include "core/video/PageAlignedBuffer.h"

#include <new>

PageAlignedBuffer::PageAlignedBuffer(std::size_t size)
    : m_size(size)
{
    const std::size_t rounded = (size + kAlignment - 1) / kAlignment * kAlignment;
    m_data.reset(static_cast<unsigned char*>(std::aligned_alloc(kAlignment, rounded == 0 ? kAlignment : rounded)));
    if (!m_data)
        throw std::bad_alloc();
}
