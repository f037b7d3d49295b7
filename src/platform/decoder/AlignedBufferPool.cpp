#include "platform/decoder/AlignedBufferPool.h"

#include <algorithm>

AlignedBufferPool::AlignedBufferPool(std::size_t maxSpare, std::size_t minCapacity)
    : m_maxSpare(maxSpare), m_minCapacity(minCapacity)
{
}

AlignedBuffer AlignedBufferPool::Take(std::size_t size)
{
    {
        std::lock_guard guard(m_lock);
        // A buffer far larger than asked for stays spare for the size it was made for.
        const std::size_t largest = std::max(2 * size, m_minCapacity);
        // The newest first: it is the likeliest to be in the caches still.
        for (auto it = m_spare.rbegin(); it != m_spare.rend(); ++it) {
            if (it->Capacity() >= size && it->Capacity() <= largest) {
                AlignedBuffer buffer = std::move(*it);
                m_spare.erase(std::next(it).base());
                return buffer;
            }
        }
    }
    return AlignedBuffer(std::max(size, m_minCapacity));
}

void AlignedBufferPool::Give(AlignedBuffer buffer)
{
    if (buffer.Capacity() == 0)
        return;
    std::lock_guard guard(m_lock);
    // The oldest goes first: after a size change the buffers of the old size
    // are soon replaced.
    if (m_spare.size() >= m_maxSpare && !m_spare.empty())
        m_spare.erase(m_spare.begin());
    if (m_maxSpare > 0)
        m_spare.push_back(std::move(buffer));
}

std::size_t AlignedBufferPool::SpareCount() const
{
    std::lock_guard guard(m_lock);
    return m_spare.size();
}
