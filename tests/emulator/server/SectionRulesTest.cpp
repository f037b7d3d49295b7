#include "SectionRules.h"

#include "core/dvr/DvrModel.h"
#include "core/dvr/SettingsBlock.h"

#include <gtest/gtest.h>

#include <functional>

using namespace emulator;

TEST(SectionRules, EveryModelsDefaultSectionsAreAccepted)
{
    for (const DvrModelInfo& model : DvrModels()) {
        const ZERD_INFO_BLK block = MakeDefaultSettingsBlock(model.typeCode);
        for (uint8_t s = 0; s < kSectionCount; ++s) {
            const auto bytes = ExtractSection(block, s);
            EXPECT_EQ(CheckSectionWrite(s, bytes.data(), bytes.size()), wire::WriteReason::Ok)
                << model.name << " section " << int(s);
        }
    }
}

TEST(SectionRules, CodedFieldsOutsideTheirListsAreRefusedAtTheBoundary)
{
    struct Case {
        const char* name;
        uint8_t section;
        std::function<void(ZERD_INFO_BLK&, uint8_t)> set;
        uint8_t lastGood;
        uint8_t firstBad;
    };
    const Case cases[] = {
        {"language", kSectionSystem, [](ZERD_INFO_BLK& b, uint8_t v) { b.system.language = v; }, 3, 4},
        {"daylight saving", kSectionSystem, [](ZERD_INFO_BLK& b, uint8_t v) { b.system.daylightSaving = v; }, 1, 2},
        {"mouse sensor", kSectionSystem, [](ZERD_INFO_BLK& b, uint8_t v) { b.system.mouseSensor = v; }, 3, 4},
        {"mouse sensor low", kSectionSystem, [](ZERD_INFO_BLK& b, uint8_t v) { b.system.mouseSensor = v; }, 1, 0},
        {"alphablend", kSectionSystem, [](ZERD_INFO_BLK& b, uint8_t v) { b.system.alphablend = v; }, 10, 11},
        {"quality", kSectionCamera, [](ZERD_INFO_BLK& b, uint8_t v) { b.camera.recordingQuality[15] = v; }, 7, 8},
        {"frame rate", kSectionCamera, [](ZERD_INFO_BLK& b, uint8_t v) { b.camera.frameRate[3] = v; }, 30, 31},
        {"ptz protocol", kSectionCamera, [](ZERD_INFO_BLK& b, uint8_t v) { b.camera.ptzProtocol[0] = v; }, 19, 20},
        {"sensor end hour", kSectionSensor, [](ZERD_INFO_BLK& b, uint8_t v) { b.sensor.endHour[7] = v; }, 24, 25},
        {"mail confirm", kSectionNetwork, [](ZERD_INFO_BLK& b, uint8_t v) { b.network.mailServerConfirm = v; }, 1, 2},
        {"resolution", kSectionRecordSet, [](ZERD_INFO_BLK& b, uint8_t v) { b.recordSet.resolution[1] = v; }, 3, 4},
        {"schedule", kSectionSchedule, [](ZERD_INFO_BLK& b, uint8_t v) { b.schedule.mode[15][6][23] = v; }, 4, 5},
    };
    for (const Case& c : cases) {
        ZERD_INFO_BLK block = MakeDefaultSettingsBlock(3);
        c.set(block, c.lastGood);
        auto bytes = ExtractSection(block, c.section);
        EXPECT_EQ(CheckSectionWrite(c.section, bytes.data(), bytes.size()), wire::WriteReason::Ok) << c.name;
        c.set(block, c.firstBad);
        bytes = ExtractSection(block, c.section);
        EXPECT_EQ(CheckSectionWrite(c.section, bytes.data(), bytes.size()), wire::WriteReason::OutOfRange) << c.name;
    }
}

TEST(SectionRules, NumberAndLengthAreCheckedFirst)
{
    const std::vector<uint8_t> bytes(2688, 0);
    EXPECT_EQ(CheckSectionWrite(6, bytes.data(), 16), wire::WriteReason::BadSection);
    EXPECT_EQ(CheckSectionWrite(kSectionRecordSet, bytes.data(), 17), wire::WriteReason::BadLength);
    EXPECT_EQ(CheckSectionWrite(kSectionSchedule, bytes.data(), 2688), wire::WriteReason::Ok);
}
