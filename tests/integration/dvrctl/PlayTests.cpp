// dvrctl play: program-stream files made at test time, played into the real
// video window (offscreen) and saved as a screenshot.

#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "DvrctlRun.h"
#include "support/TempDir.h"
#include "core/video/LayoutGeometry.h"
#include "platform/decoder/MPEG4MultiDecoder.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The decoder channel of the first video PES packet (stream id 0xE0 + channel); -1 when none.
int VideoChannelOf(const Bytes& stream)
{
    for (std::size_t i = 0; i + 4 <= stream.size(); ++i)
        if (stream[i] == 0 && stream[i + 1] == 0 && stream[i + 2] == 1 && (stream[i + 3] & 0xF0) == 0xE0)
            return stream[i + 3] & 0x0F;
    return -1;
}

bool RunFfmpeg(const std::string& arguments)
{
    return std::system(("ffmpeg -nostdin -loglevel error -y " + arguments).c_str()) == 0;
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A video PES packet of stream 0xE0 carrying one access unit and its PTS.
void AppendPes(Bytes& out, const unsigned char* data, std::size_t size, std::uint64_t pts)
{
    const std::size_t length = size + 8;  // flags, header length, PTS
    out.insert(out.end(), {0x00, 0x00, 0x01, 0xE0, static_cast<unsigned char>(length >> 8),
                           static_cast<unsigned char>(length), 0x80, 0x80, 0x05,
                           static_cast<unsigned char>(0x21 | ((pts >> 29) & 0x0E)),
                           static_cast<unsigned char>(pts >> 22), static_cast<unsigned char>(0x01 | (pts >> 14)),
                           static_cast<unsigned char>(pts >> 7), static_cast<unsigned char>(0x01 | (pts << 1))});
    out.insert(out.end(), data, data + size);
}

// Our own program stream as the recorders send it: pack header, stream map
// (H.264 on 0xE0..0xEF), then one PES packet per access unit.
Bytes OwnProgramStream(const Bytes& annexB)
{
    Bytes out(16);
    MP4MUL_make_pack_header(out.data());
    unsigned char types[32];
    unsigned char ids[32];
    int widths[32];
    int heights[32];
    for (int i = 0; i < 32; ++i) {
        types[i] = i < 16 ? 0x84 : 0x91;
        ids[i] = static_cast<unsigned char>(i < 16 ? 0xE0 + i : 0xC0 + i - 16);
        widths[i] = 720;
        heights[i] = 576;
    }
    Bytes map(276);
    MP4MUL_make_program_stream_map(map.data(), types, widths, heights, ids);
    out.insert(out.end(), map.begin(), map.end());
    // Access units start at their delimiter, 00 00 00 01 09.
    const unsigned char delimiter[] = {0x00, 0x00, 0x00, 0x01, 0x09};
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i + sizeof delimiter <= annexB.size(); ++i)
        if (std::equal(delimiter, delimiter + sizeof delimiter, annexB.begin() + static_cast<long>(i)))
            starts.push_back(i);
    starts.push_back(annexB.size());
    for (std::size_t k = 0; k + 1 < starts.size(); ++k)
        AppendPes(out, annexB.data() + starts[k], starts[k + 1] - starts[k], 3600 * (k + 1));
    return out;
}

// Pixels of the pane, inset a little, that are clearly not black.
int LitPixels(const QImage& shot, const PaneRect& pane)
{
    int lit = 0;
    for (int y = pane.top + 2; y < pane.bottom - 2; y += 2)
        for (int x = pane.left + 2; x < pane.right - 2; x += 2)
            lit += qGray(shot.pixel(x, y)) > 40 ? 1 : 0;
    return lit;
}

class PlayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.path().empty());
        vob = folder / "testsrc.vob";
        if (!RunFfmpeg("-f lavfi -i testsrc=size=352x288:rate=25 -t 1 -c:v libx264 -f vob " + vob))
            GTEST_SKIP() << "ffmpeg with libx264 is needed to make the test files";
    }

    DvrctlRun Play(const std::string& file, std::vector<std::string> options)
    {
        std::vector<std::string> args = {"play", file, "--shot", shot};
        args.insert(args.end(), options.begin(), options.end());
        return RunDvrctl(args, folder.path());
    }

    QImage Shot() const { return QImage(QString::fromStdString(shot), "PNG"); }

    TempDir folder;
    std::string vob;
    std::string shot = folder / "shot.png";
};

TEST_F(PlayTest, VobAloneFillsTheFirstPaneOfEveryLayout)
{
    // ffmpeg's VOB muxer does not number its video stream 0xE0; the layout
    // starts at its channel, so the picture is in the first pane.
    const int channel = VideoChannelOf(ReadBytes(vob));
    ASSERT_GT(channel, 0);
    ASSERT_LT(channel, 4);
    const std::pair<LayoutMode, std::string> layouts[] = {
        {LayoutMode::Single, "1"}, {LayoutMode::Quad, "4"}, {LayoutMode::Sixteen, "16"}};
    for (const auto& [mode, layout] : layouts) {
        DvrctlRun run = Play(vob, {"--layout", layout});
        ASSERT_EQ(run.status, 0) << "layout " << layout << ": " << run.err;
        QImage image = Shot();
        ASSERT_FALSE(image.isNull()) << "layout " << layout;
        EXPECT_EQ(image.width(), kVideoWindowWidth);
        EXPECT_EQ(image.height(), kVideoWindowHeight);
        const PaneLayout panes = WindowedLayout(mode, channel);
        const PaneRect& pane = panes[static_cast<std::size_t>(channel)];
        EXPECT_EQ(pane.left, 0);
        EXPECT_EQ(pane.top, 0);
        const int area = (pane.Width() - 4) * (pane.Height() - 4) / 4;
        EXPECT_GT(LitPixels(image, pane), area / 2) << "layout " << layout;
        // Channels without a stream stay black.
        for (int other = 0; other < 4; ++other) {
            const PaneRect& shown = panes[static_cast<std::size_t>(other)];
            if (other != channel && !shown.IsHidden()) {
                EXPECT_EQ(LitPixels(image, shown), 0) << "layout " << layout;
            }
        }
    }
}

TEST_F(PlayTest, OwnProgramStreamFillsTheSinglePane)
{
    const std::string es = folder / "testsrc.h264";
    ASSERT_TRUE(RunFfmpeg("-f lavfi -i testsrc=size=352x288:rate=25 -t 1 -c:v libx264 -bsf:v h264_metadata=aud=insert "
                          "-f h264 " + es));
    const std::string ps = folder / "own.ps";
    WriteBytes(ps, OwnProgramStream(ReadBytes(es)));

    DvrctlRun run = Play(ps, {"--layout", "1"});
    ASSERT_EQ(run.status, 0) << run.err;
    QImage image = Shot();
    ASSERT_FALSE(image.isNull());
    const PaneRect pane = WindowedLayout(LayoutMode::Single, 0)[0];
    EXPECT_GT(LitPixels(image, pane), (pane.Width() - 4) * (pane.Height() - 4) / 8);
}

TEST_F(PlayTest, NoPictureFailsWithNine)
{
    // Bytes that are no program stream at all.
    const std::string junk = folder / "junk.bin";
    Bytes noise(4096);
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<unsigned char>((i * 2654435761u) >> 13);
    WriteBytes(junk, noise);
    DvrctlRun run = Play(junk, {"--timeout", "1"});
    EXPECT_EQ(run.status, 9) << run.err;
    EXPECT_NE(run.err.find("dvrctl: no picture from " + junk + " within 1 seconds\n"), std::string::npos) << run.err;
    EXPECT_TRUE(Shot().isNull());
}

TEST_F(PlayTest, UnreadableFileAndBadUsage)
{
    DvrctlRun run = Play(folder / "missing.vob", {});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("dvrctl: cannot read "), std::string::npos) << run.err;

    // A screenshot that cannot be saved is a failure, not a success.
    const std::string nowhere = folder / "no-such-folder/shot.png";
    run = RunDvrctl({"play", vob, "--shot", nowhere, "--layout", "4"}, folder.path());
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("dvrctl: cannot write " + nowhere + "\n"), std::string::npos) << run.err;

    const std::vector<std::vector<std::string>> usages = {
        {"play", vob},                                         // no --shot
        {"play", "--shot", shot},                              // no file
        {"play", vob, "--shot", shot, "--layout", "6"},
        {"play", vob, "--shot", shot, "--layout", "2"},
        {"play", vob, "--shot", shot, "--timeout", "-1"},
        {"play", vob, vob, "--shot", shot},
    };
    for (const auto& args : usages) {
        run = RunDvrctl(args, folder.path());
        EXPECT_EQ(run.status, 2) << args.size() << " words: " << run.err;
    }
    EXPECT_TRUE(Shot().isNull());
}

} // namespace
