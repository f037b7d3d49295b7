// What an eavesdropper on the network sees of whole sessions: nothing of the
// passwords the settings block carries and nothing of the camera pictures.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "DvrctlRun.h"
#include "RecordingRelay.h"
#include "support/TempDir.h"
#include "support/processes/EmulatorProcess.h"

namespace {

bool Holds(const std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& needle)
{
    return std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) != bytes.end();
}

} // namespace

TEST(WireSecrecyTest, SettingsPasswordsAndPicturesNeverCrossTheWireReadable)
{
    EmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({{"MODEL_C", {}}}, {"--discovery-port", "0"})) << emulator.Error();
    RecordingRelay relay(emulator.Port());
    ASSERT_NE(relay.Port(), 0);
    TempDir folder;
    auto dvrctl = [&](std::vector<std::string> command) {
        std::vector<std::string> args{"--host", "127.0.0.1", "--port", std::to_string(relay.Port()),
                                      "--account", "ADMIN", "--password", "5829"};
        args.insert(args.end(), command.begin(), command.end());
        return RunDvrctl(args, folder.path());
    };

    // The sessions work through the relay: the block with its passwords
    // arrives, a System section goes back, live pictures decode.
    DvrctlRun info = dvrctl({"info"});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("\"adminPassword\":\"5829\""), std::string::npos);
    const std::string edit = folder / "system.json";
    std::ofstream(edit) << "{\"system\":{\"recorderId\":7}}";
    DvrctlRun put = dvrctl({"settings", "put", edit});
    ASSERT_EQ(put.status, 0) << put.err;
    const std::string shot = folder / "cam1.jpg";
    DvrctlRun snapshot = dvrctl({"snapshot", "--channel", "1", shot});
    ASSERT_EQ(snapshot.status, 0) << snapshot.err;
    QImage picture;
    ASSERT_TRUE(picture.load(QString::fromStdString(shot), "JPEG"));
    EXPECT_EQ(picture.width(), 704);

    const std::vector<std::uint8_t> toClient = relay.ToClient();
    const std::vector<std::uint8_t> toRecorder = relay.ToRecorder();
    EXPECT_GT(toClient.size(), 20000u) << "live video went through the relay";
    for (const auto* bytes : {&toClient, &toRecorder}) {
        SCOPED_TRACE(bytes == &toClient ? "recorder to client" : "client to recorder");
        EXPECT_FALSE(Holds(*bytes, {'5', '8', '2', '9'})) << "a password in clear";
        EXPECT_FALSE(Holds(*bytes, {0x00, 0x00, 0x01, 0xBA})) << "a program-stream pack header";
        EXPECT_FALSE(Holds(*bytes, {0x00, 0x00, 0x01, 0xE0})) << "a video PES start code";
    }
}
