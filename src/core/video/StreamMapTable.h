#pragma once

#include <array>
#include <cstdint>

#include "core/video/StreamMapSlot.h"

// The stream-id maps of all live sessions. Not thread-safe: the owner
// serialises access (the live decoder does it under its lock).
class StreamMapTable {
public:
    static constexpr int kSlotCount = 256;

    // Empties every slot.
    void Clear();
    // The lowest free slot, now in use; -1 when all are taken.
    int AllocateSlot();
    // Empties the slot; out-of-range slots are ignored.
    void FreeSlot(int slot);
    bool IsInUse(int slot) const;

    // Maps camera's video stream to the channel's in the slot's first empty
    // entry. Nothing when the slot is not in use, the numbers are out of range
    // or no entry is empty.
    void AddMapping(int slot, int camera, int channel);
    // Empties the first entry whose source is the camera's stream (its target stays).
    void RemoveMapping(int slot, int camera);
    // Empties every entry of a slot in use; the slot stays in use.
    void ClearMappings(int slot);

    // The stream id to write in place of streamId: the target of the first
    // entry whose source matches, else streamId unchanged.
    std::uint8_t Rewrite(int slot, std::uint8_t streamId) const;

    const StreamMapSlot& Slot(int slot) const { return m_slots.at(static_cast<std::size_t>(slot)); }

private:
    static bool Valid(int slot) { return slot >= 0 && slot < kSlotCount; }

    std::array<StreamMapSlot, kSlotCount> m_slots{};
};
