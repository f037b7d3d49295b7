// dvrctl snapshot against a real dvr-emulator: the picture comes through the
// viewer's live path and is written at its decoded size.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "DvrctlRun.h"
#include "support/processes/EmulatorProcess.h"
#include "support/processes/FreePort.h"

namespace {

class SnapshotTest : public ::testing::Test {
public:
    static void SetUpTestSuite()
    {
        s_emulator = std::make_unique<EmulatorProcess>();
        // Recorder 0 has 16 cameras, recorder 1 eight; recorder 2 loses every
        // picture on the way, recorder 3 refuses live video.
        if (!s_emulator->Start({{"MODEL_C", {"--loop-seconds", "1"}},
                                {"MODEL_B", {"--loop-seconds", "1"}},
                                {"MODEL_C", {"--loop-seconds", "1", "--drop-fragments", "100"}},
                                {"MODEL_C", {"--loop-seconds", "1", "--refuse-op", "live"}}},
                               {"--discovery-port", "0"})) {
            s_startError = s_emulator->Error();
            s_emulator.reset();
        }
    }
    static void TearDownTestSuite() { s_emulator.reset(); }

protected:
    void SetUp() override { ASSERT_TRUE(s_emulator) << "dvr-emulator did not start: " << s_startError; }

    static std::vector<std::string> Snapshot(std::size_t recorder, std::vector<std::string> command,
                                             const char* password = "5829")
    {
        std::vector<std::string> args = {"--host",    "127.0.0.1", "--port",     std::to_string(s_emulator->Port(recorder)),
                                         "--account", "ADMIN",     "--password", password,
                                         "snapshot"};
        args.insert(args.end(), command.begin(), command.end());
        return args;
    }

    ScratchFolder folder;
    static std::unique_ptr<EmulatorProcess> s_emulator;
    static std::string s_startError;
};

std::unique_ptr<EmulatorProcess> SnapshotTest::s_emulator;
std::string SnapshotTest::s_startError;

// Distinct colours over a coarse grid: a real camera picture has many, a
// blank or grey frame one or two.
std::size_t DistinctColours(const QImage& image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 16)
        for (int x = 0; x < image.width(); x += 16)
            colours.insert(image.pixel(x, y) & 0xF0F0F0u);
    return colours.size();
}

TEST_F(SnapshotTest, WritesTheCamerasPictureAtItsDecodedSize)
{
    for (const char* channel : {"1", "16"}) {
        const std::string path = folder.File(std::string("cam") + channel + ".jpg");
        DvrctlRun run = RunDvrctl(Snapshot(0, {"--channel", channel, path}), folder.Path());
        ASSERT_EQ(run.status, 0) << "channel " << channel << ": " << run.err;
        EXPECT_TRUE(run.out.empty());
        QImage picture;
        ASSERT_TRUE(picture.load(QString::fromStdString(path), "JPEG")) << "channel " << channel;
        EXPECT_EQ(picture.width(), 704);
        EXPECT_EQ(picture.height(), 576);
        EXPECT_GT(DistinctColours(picture), 8u) << "channel " << channel << " gave a blank picture";
    }
}

TEST_F(SnapshotTest, PictureThatCannotBeSavedIsAFailure)
{
    const std::string path = folder.File("no-such-folder/cam.jpg");
    DvrctlRun run = RunDvrctl(Snapshot(0, {"--channel", "2", path}), folder.Path());
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("dvrctl: cannot write " + path + "\n"), std::string::npos) << run.err;
}

TEST_F(SnapshotTest, ChannelTheRecorderLacksFailsAtOnceWithoutAFile)
{
    const std::string path = folder.File("none.jpg");
    DvrctlRun run = RunDvrctl(Snapshot(1, {"--channel", "12", path}), folder.Path());
    EXPECT_EQ(run.status, 9) << run.err;
    EXPECT_NE(run.err.find("dvrctl: the recorder has no channel 12\n"), std::string::npos) << run.err;
    // Well inside the default eight seconds a missing camera would otherwise cost.
    EXPECT_LT(run.elapsed.count(), 4000);
    EXPECT_FALSE(std::filesystem::exists(path));

    // Its eighth camera is there.
    run = RunDvrctl(Snapshot(1, {"--channel", "8", path}), folder.Path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(SnapshotTest, NoPictureWithinTheTimeoutFailsWithNine)
{
    const std::string path = folder.File("late.jpg");
    DvrctlRun run = RunDvrctl(Snapshot(2, {"--channel", "1", "--timeout", "2", path}), folder.Path());
    EXPECT_EQ(run.status, 9) << run.err;
    EXPECT_NE(run.err.find("dvrctl: no picture from channel 1 within 2 seconds\n"), std::string::npos) << run.err;
    EXPECT_GE(run.elapsed.count(), 2000);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(SnapshotTest, RecorderRefusingLiveVideoIsARefusal)
{
    const std::string path = folder.File("refused.jpg");
    DvrctlRun run = RunDvrctl(Snapshot(3, {"--channel", "1", path}), folder.Path());
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("does not support"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(SnapshotTest, LogInAndReachFailuresKeepTheirCodes)
{
    const std::string path = folder.File("x.jpg");
    DvrctlRun run = RunDvrctl(Snapshot(0, {"--channel", "1", path}, "wrong"), folder.Path());
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_NE(run.err.find("log-in refused"), std::string::npos) << run.err;

    run = RunDvrctl({"--host", "127.0.0.1", "--port", std::to_string(FreeTcpPort()), "--account",
                     "ADMIN", "--password", "5829", "snapshot", "--channel", "1", path},
                    folder.Path());
    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(SnapshotTest, MalformedRequestsAreRefusedBeforeConnecting)
{
    // The recorder port is one nobody listens on: a usage error must come first.
    const std::vector<std::vector<std::string>> commands = {
        {"out.jpg"},                                         // no channel
        {"--channel", "1"},                                  // no file
        {"--channel", "0", "out.jpg"},                       // channels count from 1
        {"--channel", "17", "out.jpg"},                      // at most 16
        {"--channel", "2x", "out.jpg"},
        {"--channel", "1", "--timeout", "0", "out.jpg"},
        {"--channel", "1", "--channel", "2", "out.jpg"},     // repeated
        {"--channel", "1", "--zoom", "2", "out.jpg"},        // unknown option
        {"--channel", "1", "a.jpg", "b.jpg"},
        {"--channel"},
    };
    for (const auto& command : commands) {
        std::vector<std::string> args = {"--host", "127.0.0.1", "--port", std::to_string(FreeTcpPort()),
                                         "--account", "ADMIN", "snapshot"};
        args.insert(args.end(), command.begin(), command.end());
        DvrctlRun run = RunDvrctl(args, folder.Path());
        EXPECT_EQ(run.status, 2) << command.size() << " words: " << run.err;
        EXPECT_EQ(run.err.rfind("dvrctl: ", 0), 0u) << run.err;
    }
}

} // namespace
