#include "core/video/StreamMapTable.h"

namespace {

bool ValidStream(int n)
{
    return n >= 0 && n < kStreamsPerKind;
}

} // namespace

void StreamMapTable::Clear()
{
    m_slots.fill(StreamMapSlot{});
}

int StreamMapTable::AllocateSlot()
{
    for (int i = 0; i < kSlotCount; ++i) {
        if (!m_slots[i].inUse) {
            m_slots[i].inUse = 1;
            return i;
        }
    }
    return -1;
}

void StreamMapTable::FreeSlot(int slot)
{
    if (Valid(slot))
        m_slots[slot] = StreamMapSlot{};
}

bool StreamMapTable::IsInUse(int slot) const
{
    return Valid(slot) && m_slots[slot].inUse;
}

void StreamMapTable::AddMapping(int slot, int camera, int channel)
{
    if (!IsInUse(slot) || !ValidStream(camera) || !ValidStream(channel))
        return;
    StreamMapSlot& s = m_slots[slot];
    for (int i = 0; i < kStreamsPerKind; ++i) {
        if (s.source[i] == 0) {
            s.source[i] = static_cast<std::uint8_t>(kVideoStreamIdBase + camera);
            s.target[i] = static_cast<std::uint8_t>(kVideoStreamIdBase + channel);
            return;
        }
    }
}

void StreamMapTable::RemoveMapping(int slot, int camera)
{
    if (!IsInUse(slot) || !ValidStream(camera))
        return;
    StreamMapSlot& s = m_slots[slot];
    for (int i = 0; i < kStreamsPerKind; ++i) {
        if (s.source[i] == kVideoStreamIdBase + camera) {
            s.source[i] = 0;
            return;
        }
    }
}

void StreamMapTable::ClearMappings(int slot)
{
    if (!IsInUse(slot))
        return;
    m_slots[slot].source.fill(0);
    m_slots[slot].target.fill(0);
}

std::uint8_t StreamMapTable::Rewrite(int slot, std::uint8_t streamId) const
{
    if (!Valid(slot) || streamId == 0)
        return streamId;
    const StreamMapSlot& s = m_slots[slot];
    for (int i = 0; i < kStreamsPerKind; ++i)
        if (s.source[i] == streamId)
            return s.target[i];
    return streamId;
}
