#include <gtest/gtest.h>

#include <cstring>

#include "MiniJson.h"
#include "core/dvr/JsonText.h"
#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsBlockJson.h"

namespace {

JsonValue ParseOrFail(const std::string& text)
{
    std::string error;
    auto value = ParseJson(text, &error);
    EXPECT_TRUE(value) << error;
    return value ? *value : JsonValue{};
}

std::string Quoted(std::string_view bytes)
{
    std::string out;
    AppendJsonString(out, bytes);
    return out;
}

void ExpectMembers(const JsonValue& object, std::initializer_list<const char*> names)
{
    ASSERT_EQ(object.kind, JsonValue::Kind::Object);
    for (const char* name : names)
        EXPECT_TRUE(object.Has(name)) << "missing " << name;
    EXPECT_EQ(object.members.size(), names.size()) << "unexpected extra members";
}

} // namespace

TEST(SettingsBlockJson, EverySectionAndEveryRepeatedEntryIsThere)
{
    const JsonValue json = ParseOrFail(SettingsBlockToJson(MakeDefaultSettingsBlock(4)));
    ExpectMembers(json, {"system", "camera", "sensor", "network", "recordSet", "schedule", "tail"});
    EXPECT_EQ(json["camera"]["channels"].items.size(), 16u);
    EXPECT_EQ(json["camera"]["reserved128"].items.size(), 384u);
    ASSERT_EQ(json["sensor"]["sensors"].items.size(), 8u);
    // The flags word is shown whole and as its decoded parts.
    ExpectMembers(json["sensor"]["sensors"][0], {"cameraLinks", "outputLinks", "startHour", "endHour", "flags",
                                                 "contactType", "operationMode", "recordDwellTime",
                                                 "outputDwellTime"});
    EXPECT_EQ(json["recordSet"]["groups"].items.size(), 2u);
    const JsonValue& schedule = json["schedule"]["mode"];
    ASSERT_EQ(schedule.items.size(), 16u);
    ASSERT_EQ(schedule[15].items.size(), 7u);
    ASSERT_EQ(schedule[15][6].items.size(), 24u);
    EXPECT_EQ(json["tail"].items.size(), 4u);
}

TEST(SettingsBlockJson, ValuesComeOutAsTheirTypesFromTheRightBytes)
{
    ZERD_INFO_BLK block = MakeDefaultSettingsBlock(6);
    block.camera.motionAreaRows0to3[3].set(0xFFFFFFFFu);
    block.camera.motionAreaRows4to7[3].set(0x80000001u);
    block.sensor.flags[7].set((1u << 31) | (300u << 21) | (17u << 12) | 0x5u);
    block.schedule.mode[15][6][23] = 3;
    block.network.port.set(65535);
    block.tail[2] = 77;
    const JsonValue json = ParseOrFail(SettingsBlockToJson(block));
    EXPECT_EQ(json["system"]["dvrTypeCode"].number, 6);
    EXPECT_EQ(json["system"]["adminPassword"].kind, JsonValue::Kind::String);
    EXPECT_EQ(json["system"]["adminPassword"].text, "5829");
    EXPECT_EQ(json["camera"]["channels"][3]["motionAreaRows0to3"].number, 4294967295.0);
    EXPECT_EQ(json["camera"]["channels"][3]["motionAreaRows4to7"].number, 2147483649.0);
    EXPECT_EQ(json["camera"]["channels"][0]["cameraName"].text, "CAM1");
    const JsonValue& sensor = json["sensor"]["sensors"][7];
    EXPECT_EQ(sensor["contactType"].number, 1);
    EXPECT_EQ(sensor["operationMode"].number, 0);
    EXPECT_EQ(sensor["recordDwellTime"].number, 300);
    EXPECT_EQ(sensor["outputDwellTime"].number, 17);
    EXPECT_EQ(json["schedule"]["mode"][15][6][23].number, 3);
    EXPECT_EQ(json["schedule"]["mode"][15][6][22].number, 0);
    EXPECT_EQ(json["network"]["port"].number, 65535);
    EXPECT_EQ(json["network"]["ipAddress"][3].number, 98);
    EXPECT_EQ(json["tail"][2].number, 77);
}

TEST(SettingsBlockJson, AnyBytesInTextFieldsStillGiveValidJson)
{
    ZERD_INFO_BLK block = MakeDefaultSettingsBlock(1);
    std::memcpy(block.network.dvrName, "Q\"\\\x01\x7f\xff\xc3\xa9\xe2\x82", 11); // quote, backslash, controls, bad UTF-8
    std::memset(block.network.mailSender, 'x', 50);                             // fills its field: no terminator
    std::memcpy(block.camera.cameraName[0], "\xc3\xa9t\xc3\xa9", 5);            // valid UTF-8 "été"
    const JsonValue json = ParseOrFail(SettingsBlockToJson(block));
    EXPECT_EQ(json["network"]["dvrName"].text, "Q\"\\\x01\x7f\xc3\xbf\xc3\xa9\xc3\xa2\xc2\x82");
    EXPECT_EQ(json["network"]["mailSender"].text, std::string(50, 'x'));
    EXPECT_EQ(json["network"]["mailReceiver"].text, "");
    EXPECT_EQ(json["camera"]["channels"][0]["cameraName"].text, "\xc3\xa9t\xc3\xa9");
}

TEST(JsonText, EscapesWhatJsonForbidsAndKeepsValidUtf8)
{
    EXPECT_EQ(Quoted("plain"), "\"plain\"");
    EXPECT_EQ(Quoted("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(Quoted(std::string_view("\x00\x1f", 2)), "\"\\u0000\\u001f\"");
    EXPECT_EQ(Quoted("\xe2\x82\xac"), "\"\xe2\x82\xac\"");          // euro sign, 3 bytes
    EXPECT_EQ(Quoted("\xf0\x9f\x98\x80"), "\"\xf0\x9f\x98\x80\"");  // 4 bytes
    EXPECT_EQ(Quoted("\xc0\xaf"), "\"\\u00c0\\u00af\"");             // overlong '/'
    EXPECT_EQ(Quoted("\xed\xa0\x80"), "\"\\u00ed\\u00a0\\u0080\"");  // encoded surrogate
    EXPECT_EQ(Quoted("\xf4\x90\x80\x80"), "\"\\u00f4\\u0090\\u0080\\u0080\""); // beyond U+10FFFF
    EXPECT_EQ(Quoted("\xe2\x82"), "\"\\u00e2\\u0082\"");             // cut short
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const std::string text = Quoted(std::string_view(&c, 1));
        ASSERT_TRUE(ParseJson(text)) << "byte " << b << " gave " << text;
    }
}
