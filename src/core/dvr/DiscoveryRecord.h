#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/dvr/ZerdInfoBlock.h"

// A recorder's answer to a LAN scan. On the wire it has the settings block's
// layout and size; only four fields carry information: the type code (byte
// 33), the port (898), the IPv4 address (900) and the MAC address (1103).
// Every other byte is sent as 0, so a scan never reveals the passwords or
// mail settings that the rest of the block would hold.
struct DiscoveryRecord {
    std::uint8_t dvrTypeCode = 0;
    std::uint16_t port = 0;
    std::array<std::uint8_t, 4> ipAddress{};
    std::array<std::uint8_t, 6> macAddress{};

    bool operator==(const DiscoveryRecord&) const = default;
};

constexpr std::size_t kDiscoveryRecordSize = kSettingsBlockSize;

DiscoveryRecord DiscoveryRecordFromSettings(const ZERD_INFO_BLK& block);
// kDiscoveryRecordSize bytes.
std::vector<std::uint8_t> EncodeDiscoveryRecord(const DiscoveryRecord& record);
// Refuses anything but exactly kDiscoveryRecordSize bytes with a type code of
// 1..6: such a record could not be connected to or shown by model.
std::optional<DiscoveryRecord> DecodeDiscoveryRecord(const std::uint8_t* data, std::size_t length,
                                                     std::string* error = nullptr);
