// Settings from a file: what a script may change, and the one line that
// names a field it may not.
#include "core/dvr/FixedText.h"
#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsBlockJson.h"
#include "core/setup/SettingsFieldCheck.h"
#include "core/setup/SettingsJsonReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

ZERD_INFO_BLK Base()
{
    ZERD_INFO_BLK block = MakeDefaultSettingsBlock(3);
    const std::uint8_t mac[6] = {0, 0x1c, 0x42, 1, 2, 3};
    std::memcpy(block.network.macAddress, mac, 6);
    block.tail[0] = 9;
    block.camera.reserved128[5] = 7;
    return block;
}

// The problem line, or "" when the file is taken and passes the checks.
std::string Problem(const std::string& json, ZERD_INFO_BLK* out = nullptr)
{
    auto result = ReadSettingsJson(json, Base());
    if (auto* problem = std::get_if<FieldProblem>(&result))
        return problem->Line();
    const ZERD_INFO_BLK& block = std::get<ZERD_INFO_BLK>(result);
    if (auto problem = CheckSettingsBlock(block))
        return problem->Line();
    if (out)
        *out = block;
    return "";
}

// The printed form of the base block with one text replaced.
std::string Edited(const std::string& from, const std::string& to)
{
    std::string json = SettingsBlockToJson(Base());
    const auto at = json.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return json.replace(at, from.size(), to);
}

} // namespace

TEST(SettingsJsonReaderTest, ThePrintedBlockReadsBackUnchangedInBothForms)
{
    ZERD_INFO_BLK block{};
    const std::string json = SettingsBlockToJson(Base());
    ASSERT_EQ(Problem(json, &block), "");
    const ZERD_INFO_BLK base = Base();
    EXPECT_EQ(std::memcmp(&block, &base, sizeof block), 0);

    ASSERT_EQ(Problem("{\"mode\":\"administrator\",\"settings\":" + json + "}", &block), "");
    EXPECT_EQ(std::memcmp(&block, &base, sizeof block), 0);
}

TEST(SettingsJsonReaderTest, APartialFileChangesOnlyItsFields)
{
    ZERD_INFO_BLK block{};
    ASSERT_EQ(Problem(R"({"system":{"recorderId":42,"adminPassword":"12345678"},
                          "network":{"dvrName":"Gate \u00e9","ipAddress":[10,0,0,9]},
                          "sensor":{"sensors":[{},{},{"startHour":8,"endHour":8,"recordDwellTime":300},{},{},{},{},{}]},
                          "camera":{"channels":[{"ptzProtocol":1},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{"cameraName":"Yard"}]}})",
                      &block),
              "");
    ZERD_INFO_BLK expected = Base();
    expected.system.recorderId = 42;
    WriteFixedText(expected.system.adminPassword, "12345678");
    // \u00e9 is the one byte E9, as the printer writes such bytes.
    WriteFixedText(expected.network.dvrName, "Gate \xe9");
    const std::uint8_t ip[4] = {10, 0, 0, 9};
    std::memcpy(expected.network.ipAddress, ip, 4);
    expected.sensor.startHour[2] = 8;
    expected.sensor.endHour[2] = 24;  // an end not after the start runs to midnight
    expected.sensor.flags[2].set((expected.sensor.flags[2].get() & ~(0x1FFu << 21)) | (300u << 21));
    expected.camera.ptzProtocol[0] = 1;
    expected.camera.ptzPresentMask.set(1);  // follows the protocols
    WriteFixedText(expected.camera.cameraName[15], "Yard");
    for (std::uint8_t section = 0; section < kSectionCount; ++section)
        EXPECT_EQ(ExtractSection(block, section), ExtractSection(expected, section)) << int(section);
    EXPECT_EQ(block.tail[0], 9);
}

TEST(SettingsJsonReaderTest, EachKindOfBadFieldIsNamedWithItsReason)
{
    struct Case {
        std::string json;
        std::string line;
    };
    const Case cases[] = {
        // Ranges
        {R"({"system":{"mouseSensor":0}})", "system.mouseSensor: 0 is outside 1..3"},
        {R"({"system":{"recorderId":256}})", "system.recorderId: 256 is outside 0..255"},
        {R"({"camera":{"channels":[{},{},{},{"frameRate":31},{},{},{},{},{},{},{},{},{},{},{},{}]}})",
         "camera.channels[3].frameRate: 31 is outside 0..30"},
        {R"({"network":{"port":70000}})", "network.port: 70000 is outside 0..65535"},
        {R"({"network":{"eventMailMask":512}})", "network.eventMailMask: only bits 0..8 (ALL..TIME) may be set"},
        {R"({"sensor":{"sensors":[{},{"outputDwellTime":512},{},{},{},{},{},{}]}})",
         "sensor.sensors[1].outputDwellTime: 512 is outside 0..511"},
        // Text lengths
        {R"({"system":{"guest0Password":"123456789"}})", "system.guest0Password: longer than 8 characters"},
        {R"({"network":{"mailServerId":"12345678901234567"}})", "network.mailServerId: longer than 16 characters"},
        // List indexes
        {R"({"system":{"videoStandard":0,"language":1}})", "system.language: CHINESE is not offered with NTSC"},
        {R"({"recordSet":{"groups":[{"resolution":4},{}]}})", "recordSet.groups[0].resolution: 4 is outside 0..3"},
        {R"({"recordSet":{"videoRecordChoice":3}})", "recordSet.videoRecordChoice: must be 0 or one of 1, 2, 4, 8"},
        {Edited("\"ptzProtocol\":0", "\"ptzProtocol\":20"), "camera.channels[0].ptzProtocol: 20 is outside 0..19"},
        // Schedule values
        {Edited("[0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]", "[0,0,0,0,0,5,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]"),
         "schedule.mode[0][0][5]: 5 is outside 0..4"},
        // Read-only fields
        {R"({"system":{"dvrTypeCode":2}})", "system.dvrTypeCode: is read-only"},
        {R"({"network":{"macAddress":[0,0,0,0,0,0]}})", "network.macAddress: is read-only"},
        // Shapes
        {R"({"system":{"language":"ENGLISH"}})", "system.language: must be a whole number"},
        {R"({"system":{"alphablend":2.5}})", "file: not JSON: expected a whole number at byte 24"},
        {R"({"system":{"langauge":0}})", "system.langauge: unknown field"},
        {R"({"sensor":{"sensors":[{}]}})", "sensor.sensors: must hold 8 entries"},
        {R"([1])", "settings: must be an object"},
        {R"({"":{}})", "\"\": unknown field"},
        {R"({"system":{},"system":{}})", "file: not JSON: duplicate member name at byte 21"},
        {"{\"network\":{\"dvrName\":\"a\\u0000b\"}}", "network.dvrName: holds a NUL character"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Problem(c.json), c.line) << c.json;
}

TEST(SettingsJsonReaderTest, FilesThatAreNotJsonAreRefusedWholesale)
{
    for (const char* text : {"", "{", "{\"system\":{}} x", "{\"system\":{},}", "{\"a\":\"\x01\"}", "{\"a\":\"\xff\"}",
                             "{\"a\":\"\\ud800\"}", "{\"a\":01}", "{\"a\":99999999999999999999}"}) {
        auto result = ReadSettingsJson(text, Base());
        ASSERT_TRUE(std::holds_alternative<FieldProblem>(result)) << text;
        EXPECT_EQ(std::get<FieldProblem>(result).field, "file") << text;
    }
    std::string deep(40, '[');
    EXPECT_TRUE(std::holds_alternative<FieldProblem>(ReadSettingsJson(deep, Base())));
}
