#include "ConsoleCommand.h"
#include "EmulatorOptions.h"

#include <gtest/gtest.h>

#include <regex>

using namespace emulator;

namespace {

std::optional<EmulatorOptions> Parse(std::vector<std::string> args, std::string* error = nullptr)
{
    std::string ignored;
    return ParseEmulatorOptions(args, error ? error : &ignored);
}

}  // namespace

TEST(EmulatorOptions, OptionsBeforeTheFirstListenAreDefaultsForEveryRecorder)
{
    const auto o = Parse({"--max-sessions", "16", "--drop-fragments", "5", "--listen", "127.0.0.1:7001", "--model",
                          "MODEL_A", "--data", "/tmp/a", "--listen", "7002", "--model", "6", "--data", "/tmp/b",
                          "--reject-logins", "--refuse-op", "upload", "--new-tls-key", "--discovery-port", "0"});
    ASSERT_TRUE(o);
    ASSERT_EQ(o->recorders.size(), 2u);
    EXPECT_EQ(o->recorders[0].port, 7001);
    EXPECT_EQ(o->recorders[0].model, 1);
    EXPECT_EQ(o->recorders[0].maxSessions, 16u);
    EXPECT_EQ(o->recorders[0].faults.dropFragmentsPercent, 5u);
    EXPECT_FALSE(o->recorders[0].faults.rejectLogins);
    EXPECT_FALSE(o->recorders[0].newTlsKey);
    EXPECT_EQ(o->recorders[1].address, "127.0.0.1");
    EXPECT_EQ(o->recorders[1].model, 6);
    EXPECT_EQ(o->recorders[1].maxSessions, 16u);
    EXPECT_TRUE(o->recorders[1].faults.rejectLogins);
    EXPECT_TRUE(o->recorders[1].newTlsKey);
    EXPECT_EQ(o->recorders[1].faults.refusedOperations.count(wire::MessageType::UploadStart), 1u);
    EXPECT_EQ(o->discoveryPort, 0);
}

TEST(EmulatorOptions, BadCommandLinesAreRefusedWithAReason)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--listen", "0.0.0.0:7050"},              // not loopback
        {"--listen", "192.168.1.2:7050"},
        {"--listen", "127.0.0.1:70500"},
        {"--listen"},
        {"--model", "MODEL_Z"},
        {"--drop-fragments", "101"},
        {"--delay", "-1"},
        {"--refuse-op", "reboot"},
        {"--max-sessions", "0"},
        {"--listen", "7001", "--data", "/tmp/x", "--listen", "7001", "--data", "/tmp/y"},
        {"--listen", "7001", "--data", "/tmp/x", "--listen", "7002", "--data", "/tmp/x"},
        {"--frobnicate"},
    };
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(Parse(args, &error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

TEST(EmulatorOptions, EveryOptionTheHelpNamesIsUnderstood)
{
    const std::string help = EmulatorHelpText();
    const std::regex option("(--[a-z-]+) ?([A-Z:]*)");
    int seen = 0;
    for (auto it = std::sregex_iterator(help.begin(), help.end(), option); it != std::sregex_iterator(); ++it) {
        const std::string name = (*it)[1];
        const std::string argument = (*it)[2];
        std::vector<std::string> args{name};
        if (name == "--listen")
            args.push_back("127.0.0.1:0");
        else if (name == "--model")
            args.push_back("MODEL_B");
        else if (name == "--refuse-op")
            args.push_back("log");
        else if (name == "--data" || name == "--cache")
            args.push_back("/tmp/x");
        else if (name == "--camera-bitrate")
            args.push_back("1.5M");
        else if (name == "--camera-content")
            args.push_back("hard");
        else if (!argument.empty())
            args.push_back("1");
        std::string error;
        EXPECT_TRUE(Parse(args, &error)) << name << ": " << error;
        ++seen;
    }
    EXPECT_GE(seen, 25);
}

TEST(EmulatorOptions, CameraBitRateIsPerRecorder)
{
    const auto o = Parse({"--camera-bitrate", "4000k", "--listen", "7001", "--data", "/tmp/a", "--listen", "7002",
                          "--data", "/tmp/b", "--camera-bitrate", "1.5M"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->recorders[0].cameraBitRate, 4000000u);
    EXPECT_EQ(o->recorders[1].cameraBitRate, 1500000u);
    EXPECT_EQ(Parse({})->recorders[0].cameraBitRate, 0u) << "no option: the cameras' own default";
}

TEST(EmulatorOptions, CameraBitRateTakesDigitsOrKAndMSuffixes)
{
    const std::vector<std::pair<std::string, uint32_t>> good = {
        {"1500000", 1500000}, {"1.5M", 1500000}, {"4000k", 4000000}, {"4M", 4000000},
        {"100k", 100000},     {"20M", 20000000}, {"1.05M", 1050000}, {"2500.5k", 2500500},
        {"0.75M", 750000},    {"20000000", 20000000}, {"100000", 100000}, {"1.123456M", 1123456},
    };
    for (const auto& [text, bits] : good)
        EXPECT_EQ(ParseCameraBitRate(text), bits) << text;

    for (const char* bad : {"", "M", "k", "1.5", "1.", ".5M", "1.M", "1..5M", "1.5.0M", "1.5MM", "1.5m", "1.5K",
                            "1.5G", "-1M", "+1M", " 1M", "1M ", "1e6", "0x100000", "1,5M", "1.2345678M",
                            "2500.0001k", "99999", "99.999k", "0", "20000001", "20.000001M", "21M",
                            "99999999999999999999M", "4000000000"}) {
        EXPECT_FALSE(ParseCameraBitRate(bad)) << bad;
        std::string error;
        EXPECT_FALSE(Parse({"--camera-bitrate", bad}, &error)) << bad;
        EXPECT_NE(error.find("--camera-bitrate"), std::string::npos) << bad;
    }
    std::string error;
    EXPECT_FALSE(Parse({"--camera-bitrate"}, &error));
    EXPECT_NE(error.find("--camera-bitrate"), std::string::npos);
}

TEST(ConsoleCommand, AlarmLines)
{
    std::string error;
    auto c = ParseConsoleCommand("alarm 3", &error);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->sensor, 2);
    EXPECT_FALSE(c->port);
    c = ParseConsoleCommand("  alarm 1 7051 ", &error);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->port, 7051);
    EXPECT_FALSE(ParseConsoleCommand("", &error));
    EXPECT_TRUE(error.empty()) << "a blank line is no mistake";
    for (const char* bad : {"alarm", "alarm 0", "alarm 17", "alarm x", "alarm 1 0", "alarm 1 2 3", "reboot"}) {
        EXPECT_FALSE(ParseConsoleCommand(bad, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}
