#pragma once

#include <cstdint>

// The per-sensor flags word of the sensor section: bit 31 contact type,
// bit 30 operation mode, bits 21..29 record dwell, bits 12..20 output dwell;
// bits 0..11 belong to the recorder and are carried through.
struct SensorFlags {
    bool normallyOpen = false; // "NO" when set, "NC" when clear
    bool intensive = false;    // "INTENSIVE" when set, "NORMAL" when clear
    std::uint16_t recordDwell = 0; // 0..511
    std::uint16_t outputDwell = 0; // 0..511

    static SensorFlags FromWord(std::uint32_t word)
    {
        SensorFlags f;
        f.normallyOpen = (word >> 31) & 1u;
        f.intensive = (word >> 30) & 1u;
        f.recordDwell = static_cast<std::uint16_t>((word >> 21) & 0x1FFu);
        f.outputDwell = static_cast<std::uint16_t>((word >> 12) & 0x1FFu);
        return f;
    }

    // Dwell times keep their low 9 bits (600 becomes 88); bits 0..11 come
    // from the word being replaced.
    std::uint32_t ToWord(std::uint32_t previous) const
    {
        return (previous & 0xFFFu) | (normallyOpen ? 1u << 31 : 0u) | (intensive ? 1u << 30 : 0u)
            | ((recordDwell & 0x1FFu) << 21) | ((outputDwell & 0x1FFu) << 12);
    }
};

// An operation window that would end at or before its start runs to the end
// of the day.
constexpr std::uint8_t SensorEndHour(std::uint8_t startHour, std::uint8_t endHour)
{
    return endHour > startHour ? endHour : 24;
}
