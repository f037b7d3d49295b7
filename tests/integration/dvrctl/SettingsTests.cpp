// dvrctl settings get and put against recorders of their own: what a good
// file writes, and that every kind of bad file writes nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "DvrctlRun.h"
#include "core/dvr/FixedText.h"
#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsBlockJson.h"
#include "support/TempDir.h"
#include "support/processes/EmulatorProcess.h"

namespace {

enum SettingsRecorder : std::size_t { kWritable, kRefusing, kRecorders };

EmulatorProcess* SettingsEmulator()
{
    static std::unique_ptr<EmulatorProcess> emulator;
    if (!emulator) {
        auto started = std::make_unique<EmulatorProcess>();
        std::vector<EmulatorProcess::Recorder> recorders(kRecorders, {"MODEL_C", {}});
        recorders[kRefusing].extraOptions = {"--refuse-op", "write"};
        if (!started->Start(recorders, {"--discovery-port", "0"}))
            return nullptr;
        emulator = std::move(started);
    }
    return emulator.get();
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool OneLine(const std::string& text) { return !text.empty() && text.find('\n') == text.size() - 1; }

class SettingsCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        emulator = SettingsEmulator();
        ASSERT_TRUE(emulator) << "dvr-emulator did not start";
    }

    std::vector<std::string> Args(SettingsRecorder recorder, std::vector<std::string> command) const
    {
        std::vector<std::string> args{"--host", "127.0.0.1", "--port", std::to_string(emulator->Port(recorder)),
                                      "--account", "ADMIN", "--password", "5829"};
        args.insert(args.end(), command.begin(), command.end());
        return args;
    }

    std::string Stored(SettingsRecorder recorder) const
    {
        return ReadFile(emulator->DataDir() + "/rec" + std::to_string(recorder) + "/settings.bin");
    }

    ZERD_INFO_BLK StoredBlock(SettingsRecorder recorder) const
    {
        const std::string bytes = Stored(recorder);
        ZERD_INFO_BLK block{};
        EXPECT_EQ(bytes.size(), sizeof block);
        std::memcpy(&block, bytes.data(), std::min(bytes.size(), sizeof block));
        return block;
    }

    DvrctlRun Put(SettingsRecorder recorder, const std::string& json)
    {
        const std::string path = folder / "settings.json";
        std::ofstream(path, std::ios::binary) << json;
        return RunDvrctl(Args(recorder, {"settings", "put", path}), folder.path());
    }

    EmulatorProcess* emulator = nullptr;
    TempDir folder;
};

} // namespace

TEST_F(SettingsCommandTest, GetPrintsTheStoredBlockAndPutWritesOnlyTheChangedFields)
{
    DvrctlRun get = RunDvrctl(Args(kWritable, {"settings", "get"}), folder.path());
    ASSERT_EQ(get.status, 0) << get.err;
    EXPECT_EQ(get.out, SettingsBlockToJson(StoredBlock(kWritable)) + "\n");

    // The printed form comes back unchanged: nothing to write, and done.
    const std::string before = Stored(kWritable);
    DvrctlRun same = Put(kWritable, get.out);
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(Stored(kWritable), before);

    ZERD_INFO_BLK expected = StoredBlock(kWritable);
    expected.system.recorderId = static_cast<std::uint8_t>(expected.system.recorderId == 12 ? 13 : 12);
    WriteFixedText(expected.network.dvrName, "Loading bay");
    expected.schedule.mode[2][3][4] = 1;
    const std::string edited = "{\"system\":{\"recorderId\":" + std::to_string(expected.system.recorderId) +
        "},\"network\":{\"dvrName\":\"Loading bay\"},\"schedule\":" +
        SettingsBlockToJson(expected).substr(SettingsBlockToJson(expected).find("\"schedule\":") + 11);
    // The schedule object runs to the tail member; cut it there.
    const std::string json = edited.substr(0, edited.find(",\"tail\"")) + "}";
    DvrctlRun put = Put(kWritable, json);
    ASSERT_EQ(put.status, 0) << put.err;
    const ZERD_INFO_BLK after = StoredBlock(kWritable);
    EXPECT_EQ(std::memcmp(&after, &expected, sizeof after), 0);
}

TEST_F(SettingsCommandTest, EachKindOfBadFieldExitsOneNamingItAndWritesNothing)
{
    const std::string before = Stored(kWritable);
    struct Case {
        std::string json;
        std::string line;
    };
    const Case cases[] = {
        {R"({"system":{"recorderId":7,"alphablend":11}})", "dvrctl: system.alphablend: 11 is outside 1..10\n"},
        {R"({"system":{"recorderId":7,"adminPassword":"nine-char"}})",
         "dvrctl: system.adminPassword: longer than 8 characters\n"},
        {R"({"network":{"dvrName":"x","mailServerConfirm":2}})", "dvrctl: network.mailServerConfirm: 2 is outside 0..1\n"},
        {R"({"recordSet":{"groups":[{},{"resolution":9}]}})", "dvrctl: recordSet.groups[1].resolution: 9 is outside 0..3\n"},
        {R"({"system":{"dvrTypeCode":1}})", "dvrctl: system.dvrTypeCode: is read-only\n"},
        {R"({"network":{"macAddress":[1,2,3,4,5,6]}})", "dvrctl: network.macAddress: is read-only\n"},
        {R"({"system":{"recorderId":7},"sensors":{}})", "dvrctl: sensors: unknown field\n"},
    };
    for (const Case& c : cases) {
        DvrctlRun run = Put(kWritable, c.json);
        EXPECT_EQ(run.status, 1) << c.json;
        EXPECT_EQ(run.err, c.line) << c.json;
    }
    // A schedule value past "none", in a whole printed block with a good change before it.
    ZERD_INFO_BLK block = StoredBlock(kWritable);
    block.system.recorderId = static_cast<std::uint8_t>(block.system.recorderId + 1);
    block.schedule.mode[15][6][23] = 5;
    DvrctlRun schedule = Put(kWritable, SettingsBlockToJson(block));
    EXPECT_EQ(schedule.status, 1);
    EXPECT_EQ(schedule.err, "dvrctl: schedule.mode[15][6][23]: 5 is outside 0..4\n");

    DvrctlRun notJson = Put(kWritable, "{\"system\":");
    EXPECT_EQ(notJson.status, 1);
    EXPECT_TRUE(OneLine(notJson.err)) << notJson.err;
    EXPECT_NE(notJson.err.find("not JSON"), std::string::npos);

    EXPECT_EQ(Stored(kWritable), before);
}

TEST_F(SettingsCommandTest, ARefusedWriteAndUsageErrors)
{
    const std::string before = Stored(kRefusing);
    DvrctlRun refused = Put(kRefusing, R"({"system":{"recorderId":99}})");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "dvrctl: the recorder refused section 0\n");
    EXPECT_EQ(Stored(kRefusing), before);

    for (const auto& command : std::vector<std::vector<std::string>>{
             {"settings"}, {"settings", "put"}, {"settings", "get", "extra"}, {"settings", "frob"}}) {
        DvrctlRun run = RunDvrctl(Args(kWritable, command), folder.path());
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_TRUE(OneLine(run.err)) << run.err;
    }
    DvrctlRun missing = RunDvrctl(Args(kWritable, {"settings", "put", folder / "none.json"}), folder.path());
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(OneLine(missing.err));
}
