#pragma once

#include <cstdint>
#include <functional>

#include "core/dvr/ZerdInfoBlock.h"

// The setup pages' two copies of the settings block: each page fills its
// controls from its section of the working copy and stores them back there;
// the baseline copy holds each section as last received or last sent, for
// "Pre-Value". The tail is never part of either.
class SetupSectionCopies {
public:
    ZERD_INFO_BLK working{};
    ZERD_INFO_BLK baseline{};

    // Every section of both copies from the block (the setup opens, or new
    // masks arrived while it is open).
    void Distribute(const ZERD_INFO_BLK& current);
    // Both copies zeroed (the setup closed).
    void Clear();
    // Pre-Value: the working copy's section from the baseline.
    void RestoreBaseline(std::uint8_t section);
};

// Sends one section: the bytes start inside the current block; true when the
// network library took them for sending.
using SectionSender = std::function<bool(void* section, std::uint8_t number)>;

// Whether the page copies take the section back from the current block after
// a write with this result: the system and network sections only when it was
// taken, the camera section on any non-zero result, the others always.
bool SectionWriteRefreshesCopies(std::uint8_t section, int result);

// Writes section `section`: the working copy's section goes into the current
// block (exactly its bytes; other sections and the tail stay), is sent from
// there, and the copies follow the rule above. Returns the sender's result;
// a section number outside 0..5 does nothing and returns false.
bool WriteSettingsSection(ZERD_INFO_BLK& current, SetupSectionCopies& copies, std::uint8_t section,
                          const SectionSender& send);
