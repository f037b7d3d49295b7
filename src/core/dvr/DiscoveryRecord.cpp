#include "core/dvr/DiscoveryRecord.h"

#include <cstring>

#include "core/dvr/DvrModel.h"
#include "core/dvr/SettingsBlock.h"

namespace {

constexpr std::size_t kTypeOffset = offsetof(ZERD_INFO_BLK, system) + offsetof(DvrSystemSection, dvrTypeCode);
constexpr std::size_t kPortOffset = offsetof(ZERD_INFO_BLK, network) + offsetof(DvrNetworkSection, port);
constexpr std::size_t kAddressOffset = offsetof(ZERD_INFO_BLK, network) + offsetof(DvrNetworkSection, ipAddress);
constexpr std::size_t kMacOffset = offsetof(ZERD_INFO_BLK, network) + offsetof(DvrNetworkSection, macAddress);

static_assert(kTypeOffset == 33 && kPortOffset == 898 && kAddressOffset == 900 && kMacOffset == 1103);

} // namespace

DiscoveryRecord DiscoveryRecordFromSettings(const ZERD_INFO_BLK& block)
{
    DiscoveryRecord record;
    record.dvrTypeCode = block.system.dvrTypeCode;
    record.port = block.network.port.get();
    std::memcpy(record.ipAddress.data(), block.network.ipAddress, record.ipAddress.size());
    std::memcpy(record.macAddress.data(), block.network.macAddress, record.macAddress.size());
    return record;
}

std::vector<std::uint8_t> EncodeDiscoveryRecord(const DiscoveryRecord& record)
{
    std::vector<std::uint8_t> bytes(kDiscoveryRecordSize, 0);
    bytes[kTypeOffset] = record.dvrTypeCode;
    WriteLeU16(bytes.data() + kPortOffset, record.port);
    std::memcpy(bytes.data() + kAddressOffset, record.ipAddress.data(), record.ipAddress.size());
    std::memcpy(bytes.data() + kMacOffset, record.macAddress.data(), record.macAddress.size());
    return bytes;
}

std::optional<DiscoveryRecord> DecodeDiscoveryRecord(const std::uint8_t* data, std::size_t length,
                                                     std::string* error)
{
    const auto fail = [&](std::string text) -> std::optional<DiscoveryRecord> {
        if (error)
            *error = std::move(text);
        return std::nullopt;
    };
    if (data == nullptr || length != kDiscoveryRecordSize)
        return fail("discovery record has " + std::to_string(data ? length : 0) + " bytes, expected "
                    + std::to_string(kDiscoveryRecordSize));
    if (!FindDvrModel(data[kTypeOffset]))
        return fail("discovery record names unknown DVR type " + std::to_string(data[kTypeOffset]));
    DiscoveryRecord record;
    record.dvrTypeCode = data[kTypeOffset];
    record.port = ReadLeU16(data + kPortOffset);
    std::memcpy(record.ipAddress.data(), data + kAddressOffset, record.ipAddress.size());
    std::memcpy(record.macAddress.data(), data + kMacOffset, record.macAddress.size());
    return record;
}
