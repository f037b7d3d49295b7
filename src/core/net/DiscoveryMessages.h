#pragma once
// LAN discovery datagrams: the client's probe and one answer per recorder,
// carrying a settings-block-shaped record with only the discovery fields set
// (core/dvr/DiscoveryRecord.h makes and reads the record).

#include "core/net/WireFormat.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace wire {

struct DiscoveryProbeMessage {
    uint32_t probeId = 0;
    std::vector<uint8_t> Encode() const;
    static std::optional<DiscoveryProbeMessage> Decode(const uint8_t* data, size_t length);
};

struct DiscoveryAnswerMessage {
    uint32_t probeId = 0;
    std::array<uint8_t, kSettingsBlockSize> record{};
    std::vector<uint8_t> Encode() const;
    static std::optional<DiscoveryAnswerMessage> Decode(const uint8_t* data, size_t length);
};

// Where the record carries the recorder's DVR name (network section offset
// 56, up to 50 bytes, NUL-padded); the other discovery fields are read with
// core/dvr/DiscoveryRecord.h.
inline constexpr size_t kDiscoveryNameOffset = 952;
inline constexpr size_t kDiscoveryNameSize = 50;

}  // namespace wire
