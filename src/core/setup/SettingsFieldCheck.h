#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/dvr/ZerdInfoBlock.h"

// A field that cannot be sent, named by its path in the settings JSON
// ("system.mouseSensor", "camera.channels[3].frameRate").
struct FieldProblem {
    std::string field;
    std::string reason;
    std::string Line() const { return field + ": " + reason; }
    bool operator==(const FieldProblem&) const = default;
};

// The first field of the section that a page could not have produced: a
// value outside its range or list, a text longer than its edit allows.
// Nullopt when the whole section may be sent.
std::optional<FieldProblem> CheckSettingsSection(const ZERD_INFO_BLK& block, std::uint8_t section);
// The same for all six sections in order.
std::optional<FieldProblem> CheckSettingsBlock(const ZERD_INFO_BLK& block);

// "N is outside LOW..HIGH".
std::string OutsideRangeReason(long long value, long long low, long long high);
