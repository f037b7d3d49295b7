#include <gtest/gtest.h>

#include <cstring>

#include "core/dvr/DvrModel.h"
#include "core/dvr/SensorFlags.h"
#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsLists.h"

namespace {

// Byte at an absolute offset of the block, as the wire sees it.
std::uint8_t At(const ZERD_INFO_BLK& block, std::size_t offset)
{
    return BlockBytes(block)[offset];
}

std::string TextAt(const ZERD_INFO_BLK& block, std::size_t offset, std::size_t width)
{
    const char* p = reinterpret_cast<const char*>(BlockBytes(block) + offset);
    return std::string(p, strnlen(p, width));
}

} // namespace

TEST(SettingsBlockDefaults, EveryModelStartsValidWithTheDefaultsAtTheirWireOffsets)
{
    for (const DvrModelInfo& model : DvrModels()) {
        SCOPED_TRACE(model.name);
        const ZERD_INFO_BLK block = MakeDefaultSettingsBlock(model.typeCode);
        EXPECT_EQ(DvrTypeCode(block), model.typeCode);
        // One field from each section, where the recorder expects it.
        EXPECT_EQ(At(block, 2), 1);   // daylight saving Yes
        EXPECT_EQ(At(block, 32), 10); // alphablend
        for (std::size_t offset : {4u, 13u, 22u})
            EXPECT_EQ(TextAt(block, offset, 9), "5829");
        EXPECT_EQ(TextAt(block, 36 + 512 + 15 * 9, 9), "CAM16");
        EXPECT_EQ(At(block, 36 + 768 + 15), 128);
        EXPECT_EQ(At(block, 824 + 32 + 7), 24);
        EXPECT_EQ(At(block, 898), 7050 & 0xFF);
        EXPECT_EQ(At(block, 899), 7050 >> 8);
        const std::uint8_t mask[] = {255, 255, 255, 0};
        EXPECT_EQ(std::memcmp(BlockBytes(block) + 908, mask, 4), 0);
        EXPECT_EQ(TextAt(block, 896 + 24, 16), "ADMIN");
        EXPECT_EQ(At(block, 1112 + 14), 0x01);
        for (std::size_t i = 1128; i < 3816; ++i)
            ASSERT_EQ(At(block, i), 0) << i;
        std::string error;
        EXPECT_TRUE(ValidateSettingsBlock(BlockBytes(block), kSettingsBlockSize, &error)) << error;
    }
    EXPECT_EQ(FindDvrModel(0), nullptr);
    EXPECT_EQ(FindDvrModel(7), nullptr);
    EXPECT_EQ(FindDvrModel(-1), nullptr);
}

TEST(SettingsBlockSections, SpansTileTheBlockUpToTheTail)
{
    std::size_t next = 0;
    for (std::uint8_t s = 0; s < kSectionCount; ++s) {
        const auto span = SectionSpan(s);
        ASSERT_TRUE(span);
        EXPECT_EQ(span->offset, next);
        next = span->offset + span->size;
    }
    EXPECT_EQ(next, 3816u);
    EXPECT_FALSE(SectionSpan(6));
    EXPECT_FALSE(SectionSpan(255));
}

TEST(SettingsBlockSections, ApplyReplacesExactlyOneSectionAndExtractGivesItBack)
{
    for (std::uint8_t s = 0; s < kSectionCount; ++s) {
        SCOPED_TRACE(static_cast<int>(s));
        ZERD_INFO_BLK block = MakeDefaultSettingsBlock(3);
        block.tail[0] = 0xA5;
        block.tail[3] = 0x5A;
        const std::vector<std::uint8_t> before = SettingsBlockBytes(block);
        const auto span = *SectionSpan(s);
        std::vector<std::uint8_t> data(span.size);
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<std::uint8_t>(i * 7 + 3);
        ASSERT_TRUE(ApplySection(block, s, data.data(), data.size()));
        const std::vector<std::uint8_t> after = SettingsBlockBytes(block);
        for (std::size_t i = 0; i < kSettingsBlockSize; ++i) {
            const bool inside = i >= span.offset && i < span.offset + span.size;
            const bool identity = i == 33 || (i >= 1103 && i < 1109);
            if (!inside || identity)
                ASSERT_EQ(after[i], before[i]) << "byte " << i;
            else
                ASSERT_EQ(after[i], data[i - span.offset]) << "byte " << i;
        }
        std::vector<std::uint8_t> expected = data;
        if (s == kSectionSystem)
            expected[33] = 3;
        if (s == kSectionNetwork)
            std::copy(before.begin() + 1103, before.begin() + 1109, expected.begin() + 207);
        EXPECT_EQ(ExtractSection(block, s), expected);
    }
}

TEST(SettingsBlockSections, WrongSectionOrLengthChangesNothing)
{
    ZERD_INFO_BLK block = MakeDefaultSettingsBlock(2);
    const std::vector<std::uint8_t> before = SettingsBlockBytes(block);
    std::vector<std::uint8_t> data(3000, 0xEE);
    EXPECT_FALSE(ApplySection(block, 6, data.data(), 4));
    EXPECT_FALSE(ApplySection(block, 0, data.data(), 35));
    EXPECT_FALSE(ApplySection(block, 0, data.data(), 37));
    EXPECT_FALSE(ApplySection(block, 5, data.data(), 2689));
    EXPECT_FALSE(ApplySection(block, 4, nullptr, 16));
    EXPECT_EQ(SettingsBlockBytes(block), before);
    EXPECT_TRUE(ExtractSection(block, 6).empty());
}

TEST(SettingsBlockValidation, RefusesWrongSizesAndUnknownModels)
{
    ZERD_INFO_BLK block = MakeDefaultSettingsBlock(4);
    std::vector<std::uint8_t> bytes = SettingsBlockBytes(block);
    std::string error;
    EXPECT_FALSE(ValidateSettingsBlock(bytes.data(), bytes.size() - 1, &error));
    EXPECT_NE(error.find("3819"), std::string::npos) << error;
    bytes.push_back(0);
    EXPECT_FALSE(ValidateSettingsBlock(bytes.data(), bytes.size(), &error));
    bytes.pop_back();
    EXPECT_FALSE(ValidateSettingsBlock(nullptr, 0, &error));
    for (std::uint8_t bad : {0, 7, 255}) {
        bytes[33] = bad;
        EXPECT_FALSE(ValidateSettingsBlock(bytes.data(), bytes.size(), &error));
        EXPECT_FALSE(ParseSettingsBlock(bytes.data(), bytes.size(), &error));
    }
    // Out-of-range values elsewhere are the reader's business, not a broken block.
    bytes[33] = 6;
    bytes[1128] = 9;
    bytes[0] = 200;
    const auto parsed = ParseSettingsBlock(bytes.data(), bytes.size(), &error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(SettingsBlockBytes(*parsed), bytes);
}

TEST(SettingsBlockAccessors, PasswordsBelongToTheThreeAccountsAndKeepTheirNinthByteZero)
{
    ZERD_INFO_BLK block = MakeDefaultSettingsBlock(1);
    ASSERT_TRUE(SetAccountPassword(block, "ADMIN", "abcdefgh"));
    ASSERT_TRUE(SetAccountPassword(block, "GUEST0", "g0"));
    ASSERT_TRUE(SetAccountPassword(block, "GUEST1", "123456789012"));
    EXPECT_EQ(AccountPassword(block, "ADMIN"), "abcdefgh");
    EXPECT_EQ(At(block, 4 + 8), 0);
    EXPECT_EQ(AccountPassword(block, "GUEST0"), "g0");
    EXPECT_EQ(AccountPassword(block, "GUEST1"), "12345678");
    EXPECT_EQ(At(block, 22 + 8), 0);
    EXPECT_EQ(At(block, 31), 2) << "a long password must not run into the mouse sensor";
    EXPECT_FALSE(AccountPassword(block, "admin"));
    EXPECT_FALSE(AccountPassword(block, "GUEST2"));
    EXPECT_FALSE(SetAccountPassword(block, "ROOT", "x"));
    // A password that fills all nine bytes (from a recorder) reads whole.
    std::memcpy(block.system.guest0Password, "ninechars", 9);
    EXPECT_EQ(AccountPassword(block, "GUEST0"), "ninechars");
    EXPECT_EQ(AccountPassword(block, "GUEST1"), "12345678");
}

TEST(SettingsBlockAccessors, CameraNamesPortAndMotionGrid)
{
    ZERD_INFO_BLK block = MakeDefaultSettingsBlock(3);
    ASSERT_TRUE(SetCameraName(block, 15, "Yard-East"));
    EXPECT_EQ(CameraName(block, 15), "Yard-Eas");
    EXPECT_EQ(At(block, 36 + 512 + 15 * 9 + 8), 0);
    std::memcpy(block.camera.cameraName[2], "123456789", 9);
    EXPECT_EQ(CameraName(block, 2), "123456789");
    EXPECT_EQ(CameraName(block, 3), "CAM4") << "a full name must not spill into the next one";
    EXPECT_EQ(CameraName(block, 16), "");
    EXPECT_EQ(CameraName(block, -1), "");
    EXPECT_FALSE(SetCameraName(block, 16, "x"));

    SetNetworkPort(block, 0xBEEF);
    EXPECT_EQ(At(block, 898), 0xEF);
    EXPECT_EQ(At(block, 899), 0xBE);

    for (int row = 0; row < 8; ++row)
        ASSERT_TRUE(SetMotionGridRow(block, 5, row, 0));
    ASSERT_TRUE(SetMotionGridRow(block, 5, 1, 0x81));
    ASSERT_TRUE(SetMotionGridRow(block, 5, 6, 0x3C));
    EXPECT_EQ(block.camera.motionAreaRows0to3[5].get(), 0x81u << 8);
    EXPECT_EQ(block.camera.motionAreaRows4to7[5].get(), 0x3Cu << 16);
    EXPECT_EQ(MotionGridRow(block, 5, 1), 0x81);
    EXPECT_EQ(MotionGridRow(block, 5, 6), 0x3C);
    EXPECT_EQ(MotionGridRow(block, 5, 0), 0);
    EXPECT_EQ(MotionGridRow(block, 4, 0), 0xFF) << "other channels keep their grids";
    EXPECT_FALSE(SetMotionGridRow(block, 5, 8, 1));
    EXPECT_EQ(MotionGridRow(block, 16, 0), 0);
}

TEST(SettingsBlockFields, SensorFlagsKeepTheRecordersLowBitsAndWrapDwellTimes)
{
    SensorFlags flags;
    flags.normallyOpen = true;
    flags.intensive = false;
    flags.recordDwell = 600; // only 9 bits fit
    flags.outputDwell = 511;
    const std::uint32_t word = flags.ToWord(0x00000ABCu);
    EXPECT_EQ(word & 0xFFFu, 0xABCu);
    EXPECT_EQ(word >> 31, 1u);
    EXPECT_EQ((word >> 30) & 1u, 0u);
    const SensorFlags back = SensorFlags::FromWord(word);
    EXPECT_EQ(back.recordDwell, 88);
    EXPECT_EQ(back.outputDwell, 511);
    EXPECT_TRUE(back.normallyOpen);
    EXPECT_FALSE(back.intensive);
    EXPECT_EQ(SensorFlags::FromWord(1u << 30).intensive, true);

    EXPECT_EQ(SensorEndHour(10, 8), 24);
    EXPECT_EQ(SensorEndHour(10, 10), 24);
    EXPECT_EQ(SensorEndHour(10, 11), 11);
    EXPECT_EQ(SensorEndHour(0, 24), 24);
}

TEST(SettingsBlockFields, CodedNamesStopAtTheirListsEnd)
{
    EXPECT_STREQ(CodedName(kPtzProtocolNames, 19), "PTZ_ORX-1000");
    EXPECT_EQ(CodedName(kPtzProtocolNames, 20), nullptr);
    EXPECT_EQ(CodedName(kQualityNames, 8), nullptr);
    EXPECT_EQ(CodedName(kResolutionNames, 4), nullptr);
}
