#include "core/setup/SetupSectionCopies.h"

#include <cstring>

#include "core/dvr/SettingsBlock.h"

namespace {

void CopySection(ZERD_INFO_BLK& to, const ZERD_INFO_BLK& from, std::uint8_t section)
{
    const auto span = SectionSpan(section);
    if (span)
        std::memcpy(BlockBytes(to) + span->offset, BlockBytes(from) + span->offset, span->size);
}

} // namespace

void SetupSectionCopies::Distribute(const ZERD_INFO_BLK& current)
{
    for (std::uint8_t section = 0; section < kSectionCount; ++section) {
        CopySection(working, current, section);
        CopySection(baseline, current, section);
    }
}

void SetupSectionCopies::Clear()
{
    working = {};
    baseline = {};
}

void SetupSectionCopies::RestoreBaseline(std::uint8_t section)
{
    CopySection(working, baseline, section);
}

bool SectionWriteRefreshesCopies(std::uint8_t section, int result)
{
    switch (section) {
    case kSectionSystem:
    case kSectionNetwork: return result == 1;
    case kSectionCamera: return result != 0;
    case kSectionSensor:
    case kSectionRecordSet:
    case kSectionSchedule: return true;
    default: return false;
    }
}

bool WriteSettingsSection(ZERD_INFO_BLK& current, SetupSectionCopies& copies, std::uint8_t section,
                          const SectionSender& send)
{
    const auto span = SectionSpan(section);
    if (!span || !send)
        return false;
    CopySection(current, copies.working, section);
    const bool result = send(BlockBytes(current) + span->offset, section);
    if (SectionWriteRefreshesCopies(section, result ? 1 : 0)) {
        CopySection(copies.working, current, section);
        CopySection(copies.baseline, current, section);
    }
    return result;
}
