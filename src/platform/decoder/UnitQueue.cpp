#include "platform/decoder/UnitQueue.h"

#include <algorithm>

namespace {

constexpr size_t kSpareBuffers = 8;
constexpr size_t kMinBufferSize = 64 * 1024;

} // namespace

UnitQueue::UnitQueue(std::atomic<uint64_t>& skippedCounter) : m_skipped(skippedCounter)
{
}

AlignedBuffer UnitQueue::TakeBuffer(size_t size)
{
    {
        std::lock_guard guard(m_lock);
        for (auto it = m_spare.begin(); it != m_spare.end(); ++it) {
            if (it->Capacity() >= size) {
                AlignedBuffer buffer = std::move(*it);
                m_spare.erase(it);
                return buffer;
            }
        }
    }
    return AlignedBuffer(std::max(size, kMinBufferSize));
}

void UnitQueue::Recycle(AlignedBuffer buffer)
{
    std::lock_guard guard(m_lock);
    RecycleLocked(std::move(buffer));
}

void UnitQueue::RecycleLocked(AlignedBuffer buffer)
{
    if (buffer.Capacity() > 0 && m_spare.size() < kSpareBuffers)
        m_spare.push_back(std::move(buffer));
}

void UnitQueue::Push(VideoUnit unit)
{
    std::unique_lock guard(m_lock);
    if (m_stopped)
        return;
    const bool overloaded = (unit.startsPicture && m_pictures > kMaxWaitingPictures) ||
                            m_units.size() >= kMaxUnits || m_bytes + unit.size > kMaxBytes;
    if (overloaded) {
        DiscardWaitingLocked(true);
        m_awaitKeyframe = true;
    }
    if (m_awaitKeyframe) {
        const bool giveUp = unit.startsPicture && ++m_picturesAwaiting > kMaxPicturesBeforeKeyframe;
        if (!unit.keyframe && !giveUp) {
            m_skipped.fetch_add(1);
            RecycleLocked(std::move(unit.buffer));
            return;
        }
        m_awaitKeyframe = false;
        m_picturesAwaiting = 0;
        unit.resync = true;
    }
    m_pictures += unit.startsPicture ? 1 : 0;
    m_bytes += unit.size;
    m_units.push_back(std::move(unit));
    guard.unlock();
    m_ready.notify_one();
}

bool UnitQueue::Pop(VideoUnit* out)
{
    std::unique_lock guard(m_lock);
    m_ready.wait(guard, [this] { return m_stopped || !m_units.empty(); });
    if (m_stopped)
        return false;
    *out = std::move(m_units.front());
    m_units.pop_front();
    m_pictures -= out->startsPicture ? 1 : 0;
    m_bytes -= out->size;
    return true;
}

void UnitQueue::Resync()
{
    std::lock_guard guard(m_lock);
    DiscardWaitingLocked(false);
    m_awaitKeyframe = true;
    m_picturesAwaiting = 0;
}

void UnitQueue::Stop()
{
    {
        std::lock_guard guard(m_lock);
        m_stopped = true;
        DiscardWaitingLocked(false);
    }
    m_ready.notify_all();
}

size_t UnitQueue::WaitingUnits() const
{
    std::lock_guard guard(m_lock);
    return m_units.size();
}

void UnitQueue::DiscardWaitingLocked(bool count)
{
    if (count)
        m_skipped.fetch_add(m_units.size());
    for (VideoUnit& unit : m_units)
        RecycleLocked(std::move(unit.buffer));
    m_units.clear();
    m_pictures = 0;
    m_bytes = 0;
}
