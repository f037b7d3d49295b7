// dvrctl snapshot against a real dvr-emulator: the picture comes through the
// viewer's live path and is written at its decoded size.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "DvrctlEmulator.h"
#include "DvrctlRun.h"
#include "support/TempDir.h"
#include "support/processes/FreePort.h"

namespace {

class SnapshotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(DvrctlEmulator(&error)) << "dvr-emulator did not start: " << error;
    }

    DvrctlRun Snapshot(std::vector<std::string> connection, const std::vector<std::string>& command)
    {
        connection.push_back("snapshot");
        connection.insert(connection.end(), command.begin(), command.end());
        return RunDvrctl(connection, folder.path());
    }

    TempDir folder;
};

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
        const std::string path = folder / (std::string("cam") + channel + ".jpg");
        DvrctlRun run = Snapshot(Connection(kSixteen), {"--channel", channel, path});
        ASSERT_EQ(run.status, 0) << "channel " << channel << ": " << run.err;
        EXPECT_TRUE(run.out.empty());
        QImage picture;
        ASSERT_TRUE(picture.load(QString::fromStdString(path), "JPEG")) << "channel " << channel;
        EXPECT_EQ(picture.width(), 704);
        EXPECT_EQ(picture.height(), 576);
        EXPECT_GT(DistinctColours(picture), 8u) << "channel " << channel << " gave a blank picture";
    }
    // The eighth camera of an eight-channel recorder is there too.
    EXPECT_EQ(Snapshot(Connection(kEight), {"--channel", "8", folder / "eight.jpg"}).status, 0);

    const std::string unwritable = folder / "no-such-folder/cam.jpg";
    DvrctlRun run = Snapshot(Connection(kSixteen), {"--channel", "2", unwritable});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("dvrctl: cannot write " + unwritable + "\n"), std::string::npos) << run.err;
}

TEST_F(SnapshotTest, SealedDatagramsGiveAPictureThoughSomeAreDamagedOrRepeated)
{
    const std::string path = folder / "sealed.jpg";
    std::vector<std::string> udp = Connection(kTampering);
    udp.push_back("--udp");
    DvrctlRun run = Snapshot(udp, {"--channel", "1", path});
    ASSERT_EQ(run.status, 0) << run.err;
    QImage picture;
    ASSERT_TRUE(picture.load(QString::fromStdString(path), "JPEG"));
    EXPECT_GT(DistinctColours(picture), 8u);
}

TEST_F(SnapshotTest, EachFailureKeepsItsCodeAndLeavesNoFile)
{
    const std::string path = folder / "none.jpg";
    const std::vector<std::string> nowhere = {"--host", "127.0.0.1", "--port", std::to_string(FreeTcpPort()),
                                              "--account", "ADMIN", "--password", "5829"};
    struct Case {
        std::vector<std::string> connection;
        std::vector<std::string> command;
        int status;
        std::string error;
    } cases[] = {
        {Connection(kEight), {"--channel", "12", path}, 9, "dvrctl: the recorder has no channel 12\n"},
        {Connection(kLossy), {"--channel", "1", "--timeout", "2", path}, 9,
         "dvrctl: no picture from channel 1 within 2 seconds\n"},
        {Connection(kRefusing), {"--channel", "1", path}, 1, "does not support"},
        {Connection(kSixteen, "ADMIN", "wrong"), {"--channel", "1", path}, 3, "log-in refused"},
        {nowhere, {"--channel", "1", path}, 4, "dvrctl: "},
    };
    for (const Case& c : cases) {
        DvrctlRun run = Snapshot(c.connection, c.command);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(path)) << c.error;
        if (c.error.find("no channel") != std::string::npos) {
            // Well inside the default eight seconds a missing camera would otherwise cost.
            EXPECT_LT(run.elapsed.count(), 4000);
        }
        if (c.error.find("within 2 seconds") != std::string::npos) {
            EXPECT_GE(run.elapsed.count(), 2000);
        }
    }
}

TEST_F(SnapshotTest, MalformedRequestsAreRefusedBeforeConnecting)
{
    // The recorder port is one nobody listens on: a usage error must come first.
    const std::vector<std::string> nowhere = {"--host", "127.0.0.1", "--port", std::to_string(FreeTcpPort()),
                                              "--account", "ADMIN"};
    for (const auto& command : std::vector<std::vector<std::string>>{
             {"out.jpg"},                                      // no channel
             {"--channel", "1"},                               // no file
             {"--channel", "0", "out.jpg"},                    // channels count from 1
             {"--channel", "17", "out.jpg"},                   // at most 16
             {"--channel", "2x", "out.jpg"},
             {"--channel", "1", "--timeout", "0", "out.jpg"},
             {"--channel", "1", "--channel", "2", "out.jpg"},  // repeated
             {"--channel", "1", "--zoom", "2", "out.jpg"},     // unknown option
             {"--channel", "1", "a.jpg", "b.jpg"},
             {"--channel"},
         }) {
        DvrctlRun run = Snapshot(nowhere, command);
        EXPECT_EQ(run.status, 2) << command.size() << " words: " << run.err;
        EXPECT_EQ(run.err.rfind("dvrctl: ", 0), 0u) << run.err;
    }
}

} // namespace
