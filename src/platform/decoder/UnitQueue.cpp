#include "platform/decoder/UnitQueue.h"

namespace {

constexpr size_t kSpareBuffers = 8;
constexpr size_t kMinBufferSize = 64 * 1024;

} // namespace

UnitQueue::UnitQueue(std::atomic<uint64_t>& skippedCounter)
    : m_spare(kSpareBuffers, kMinBufferSize), m_skipped(skippedCounter)
{
}

AlignedBuffer UnitQueue::TakeBuffer(size_t size)
{
    return m_spare.Take(size);
}

void UnitQueue::Recycle(AlignedBuffer buffer)
{
    m_spare.Give(std::move(buffer));
}

void UnitQueue::Push(VideoUnit unit)
{
    std::lock_guard guard(m_lock);
    const bool tooManyPictures = unit.startsPicture && m_pictures > kMaxWaitingPictures;
    const bool pastLimits = m_units.size() >= kMaxUnits || m_bytes + unit.size > kMaxBytes;
    if (pastLimits || (tooManyPictures && unit.keyframe))
        DiscardWaitingLocked(true);
    else if (tooManyPictures)
        KeepNewestKeyframeLocked();
    if (pastLimits || tooManyPictures)
        m_awaitKeyframe = true;
    if (m_awaitKeyframe) {
        const bool giveUp = unit.startsPicture && ++m_picturesAwaiting > kMaxPicturesBeforeKeyframe;
        if (!unit.keyframe && !giveUp) {
            m_skipped.fetch_add(1);
            Recycle(std::move(unit.buffer));
            return;
        }
        m_awaitKeyframe = false;
        m_picturesAwaiting = 0;
        unit.resync = true;
    }
    m_pictures += unit.startsPicture ? 1 : 0;
    m_bytes += unit.size;
    m_units.push_back(std::move(unit));
}

bool UnitQueue::Pop(VideoUnit* out)
{
    std::lock_guard guard(m_lock);
    if (m_units.empty())
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

size_t UnitQueue::WaitingUnits() const
{
    std::lock_guard guard(m_lock);
    return m_units.size();
}

void UnitQueue::KeepNewestKeyframeLocked()
{
    size_t first = m_units.size();
    for (size_t i = m_units.size(); i-- > 0;) {
        if (m_units[i].keyframe && (m_units[i].startsPicture || i == 0)) {
            first = i;
            break;
        }
    }
    size_t last = first + 1;
    while (last < m_units.size() && !m_units[last].startsPicture)
        ++last;
    if (first == m_units.size()) {
        DiscardWaitingLocked(true);
        return;
    }
    std::deque<VideoUnit> kept;
    for (size_t i = 0; i < m_units.size(); ++i) {
        if (i >= first && i < last)
            kept.push_back(std::move(m_units[i]));
        else
            Recycle(std::move(m_units[i].buffer));
    }
    m_skipped.fetch_add(m_units.size() - kept.size());
    m_units = std::move(kept);
    m_units.front().resync = true;
    m_pictures = 0;
    m_bytes = 0;
    for (const VideoUnit& unit : m_units) {
        m_pictures += unit.startsPicture ? 1 : 0;
        m_bytes += unit.size;
    }
}

void UnitQueue::DiscardWaitingLocked(bool count)
{
    if (count)
        m_skipped.fetch_add(m_units.size());
    for (VideoUnit& unit : m_units)
        Recycle(std::move(unit.buffer));
    m_units.clear();
    m_pictures = 0;
    m_bytes = 0;
}
