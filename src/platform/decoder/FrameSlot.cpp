#include "platform/decoder/FrameSlot.h"

void FrameSlot::Put(std::shared_ptr<const ScaledPicture> picture)
{
    std::lock_guard guard(m_lock);
    if (m_fresh)
        ++m_dropped;
    m_picture = std::move(picture);
    m_fresh = m_picture != nullptr;
}

void FrameSlot::Rescaled(std::shared_ptr<const ScaledPicture> picture)
{
    std::lock_guard guard(m_lock);
    m_picture = std::move(picture);
}

std::shared_ptr<const ScaledPicture> FrameSlot::Take()
{
    std::lock_guard guard(m_lock);
    if (m_fresh) {
        m_fresh = false;
        ++m_presented;
    }
    return m_picture;
}

std::shared_ptr<const ScaledPicture> FrameSlot::Peek() const
{
    std::lock_guard guard(m_lock);
    return m_picture;
}

void FrameSlot::Clear()
{
    std::lock_guard guard(m_lock);
    m_picture.reset();
    m_fresh = false;
}

uint64_t FrameSlot::Presented() const
{
    std::lock_guard guard(m_lock);
    return m_presented;
}

uint64_t FrameSlot::Dropped() const
{
    std::lock_guard guard(m_lock);
    return m_dropped;
}
