#include <gtest/gtest.h>

#include <cstring>

#include "core/dvr/DiscoveryRecord.h"
#include "core/dvr/SettingsBlock.h"

TEST(DiscoveryRecord, CarriesOnlyTheFourFieldsAtTheSettingsBlockOffsets)
{
    ZERD_INFO_BLK block = MakeDefaultSettingsBlock(5);
    SetNetworkPort(block, 7055);
    const std::uint8_t mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0xFE};
    std::memcpy(block.network.macAddress, mac, 6);
    const DiscoveryRecord record = DiscoveryRecordFromSettings(block);
    const std::vector<std::uint8_t> bytes = EncodeDiscoveryRecord(record);
    ASSERT_EQ(bytes.size(), 3820u);
    EXPECT_EQ(bytes[33], 5);
    EXPECT_EQ(bytes[898], 7055 & 0xFF);
    EXPECT_EQ(bytes[899], 7055 >> 8);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 900, bytes.begin() + 904),
              (std::vector<std::uint8_t>{192, 168, 123, 98}));
    EXPECT_EQ(std::memcmp(bytes.data() + 1103, mac, 6), 0);
    // Nothing else of the block travels, passwords least of all.
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool field = i == 33 || (i >= 898 && i < 904) || (i >= 1103 && i < 1109);
        if (!field) {
            ASSERT_EQ(bytes[i], 0) << "byte " << i;
        }
    }
    const auto decoded = DecodeDiscoveryRecord(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, record);
    // A whole settings block reads as a record too.
    const auto fromBlock = DecodeDiscoveryRecord(BlockBytes(block), kSettingsBlockSize);
    ASSERT_TRUE(fromBlock);
    EXPECT_EQ(*fromBlock, record);
}

TEST(DiscoveryRecord, RefusesShortLongAndUnknownModelInput)
{
    DiscoveryRecord record;
    record.dvrTypeCode = 3;
    std::vector<std::uint8_t> bytes = EncodeDiscoveryRecord(record);
    std::string error;
    EXPECT_FALSE(DecodeDiscoveryRecord(bytes.data(), 1109, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(DecodeDiscoveryRecord(nullptr, 3820, &error));
    bytes.push_back(0);
    EXPECT_FALSE(DecodeDiscoveryRecord(bytes.data(), bytes.size(), &error));
    bytes.pop_back();
    for (std::uint8_t bad : {0, 7, 200}) {
        bytes[33] = bad;
        error.clear();
        EXPECT_FALSE(DecodeDiscoveryRecord(bytes.data(), bytes.size(), &error));
        EXPECT_NE(error.find("type"), std::string::npos) << error;
    }
}
