// dvrctl ptz against a real recorder: the channel's driver from the recorder's
// settings, the packets on its serial line.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DvrctlEmulator.h"
#include "DvrctlRun.h"
#include "support/TempDir.h"
#include "support/ptz/PelcoChecker.h"
#include "support/ptz/PtzCameras.h"

namespace {

std::vector<std::vector<std::uint8_t>> SerialPackets(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::vector<std::uint8_t>> packets;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string word;
        words >> word;  // the time
        packets.emplace_back();
        while (words >> word)
            packets.back().push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
    }
    return packets;
}

PelcoFrame Frame(const std::vector<std::uint8_t>& packet, std::uint8_t channel)
{
    EXPECT_GE(packet.size(), 3u);
    EXPECT_EQ(std::vector<std::uint8_t>(packet.end() - 3, packet.end()), (std::vector<std::uint8_t>{0x61, 0x61, channel}));
    std::string why;
    auto frame = CheckPelco({packet.begin(), packet.end() - 3}, &why);
    EXPECT_TRUE(frame) << why;
    return frame.value_or(PelcoFrame{});
}

TEST(DvrctlPtz, SendsTheCommandAndTheStopThroughTheChannelsDriver)
{
    std::string error;
    EmulatorProcess* emulator = DvrctlEmulator(&error);
    ASSERT_TRUE(emulator) << error;
    ASSERT_TRUE(SetPtzCameras(emulator->Port(kEight), {{4, 1, 7}, {5, 3, 1}}));
    TempDir folder;
    const std::string log = emulator->DataDir() + "/rec1/serial.log";
    auto run = [&](std::initializer_list<std::string> words) {
        std::vector<std::string> args = Connection(kEight);
        args.insert(args.end(), words);
        return RunDvrctl(args, folder.path());
    };

    const std::size_t before = SerialPackets(log).size();
    DvrctlRun left = run({"ptz", "--channel", "5", "left", "--ms", "200"});
    ASSERT_EQ(left.status, 0) << left.err;
    EXPECT_GE(left.elapsed.count(), 200);
    DvrctlRun preset = run({"ptz", "--channel", "5", "preset-call", "12"});
    ASSERT_EQ(preset.status, 0) << preset.err;
    auto packets = SerialPackets(log);
    ASSERT_EQ(packets.size(), before + 3);
    const PelcoFrame move = Frame(packets[before], 4);
    EXPECT_TRUE(move.left);
    EXPECT_EQ(move.address, 7u);
    EXPECT_TRUE(Frame(packets[before + 1], 4).IsStop());
    EXPECT_EQ(Frame(packets[before + 2], 4).presetOp, 7);
    EXPECT_EQ(Frame(packets[before + 2], 4).preset, 12u);

    DvrctlRun none = run({"ptz", "--channel", "6", "up"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "dvrctl: channel 6 has no PTZ driver (protocol PTZ_PANASONIC)\n");
    for (auto args : {std::initializer_list<std::string>{"ptz", "--channel", "17", "up"},
                      {"ptz", "--channel", "1", "sideways"},
                      {"ptz", "--channel", "1", "preset-set", "0"},
                      {"ptz", "--channel", "1", "up", "--ms", "-4"},
                      {"ptz", "up"}}) {
        DvrctlRun bad = run(args);
        EXPECT_EQ(bad.status, 2) << bad.err;
    }
    EXPECT_EQ(SerialPackets(log).size(), before + 3);
}

}  // namespace
