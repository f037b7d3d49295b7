// A viewer's decoder lives through days of recorders that glitch, restart,
// change resolution or codec and send garbage, usually faster than an
// overloaded machine decodes. Whatever arrives, its memory must stay within a
// fixed bound: here all sixteen channels get such streams through the whole
// live path (live packets, reassembly, Demux, decoders, scaling, painting),
// fed flat out so the decoders are always behind, and resident memory after
// the warm-up must not grow.
#include "VariedStream.h"

#include "core/media/PesPacketizer.h"
#include "platform/decoder/LiveDecoder.h"
#include "platform/video/LiveSessionState.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kChannels = 16;
constexpr int kRounds = 64;
constexpr int kWarmUpRounds = 16;
constexpr int kPicturesPerRound = 12;  // per channel
constexpr std::size_t kFragmentBytes = 8000;
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
// What resident memory may gain after the warm-up: allocator slack, not a
// picture per unit fed.
constexpr long kAllowedGrowthKb = 64 * 1024;

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

// One, four or sixteen panes in an 800 x 600 window; channels without a pane are hidden.
void ApplyLayout(CLiveDecoder& decoder, int perSide)
{
    const int width = kWindowWidth / perSide;
    const int height = kWindowHeight / perSide;
    for (int channel = 0; channel < kChannels; ++channel) {
        if (channel < perSide * perSide) {
            const int left = channel % perSide * width;
            const int top = channel / perSide * height;
            decoder.SetVideoPos(channel, left, top, left + width, top + height);
        } else {
            decoder.SetVideoPos(channel, 0, 0, 1, 1);
        }
    }
}

// Cuts a unit into live packets [count][index][payload] and hands them to the session.
void SendUnit(LiveSessionState& session, const std::vector<std::uint8_t>& unit)
{
    const std::size_t count = (unit.size() + kFragmentBytes - 1) / kFragmentBytes;
    std::vector<unsigned char> packet;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t begin = i * kFragmentBytes;
        const std::size_t end = std::min(unit.size(), begin + kFragmentBytes);
        packet.assign({static_cast<unsigned char>(count), static_cast<unsigned char>(i)});
        packet.insert(packet.end(), unit.begin() + std::ptrdiff_t(begin), unit.begin() + std::ptrdiff_t(end));
        session.OnVideoPacket(packet.data(), static_cast<unsigned>(packet.size()));
    }
}

void Paint(CLiveDecoder& decoder, QImage& window)
{
    QPainter painter(&window);
    decoder.PaintVideo(painter);
}

} // namespace

TEST(LiveMemory, SixteenChannelsOfVariedStreamsFasterThanDecodingKeepMemoryBounded)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::vector<livemem::Clip> clips = livemem::EncodeClips(30);

    CLiveDecoder decoder;
    ASSERT_TRUE(decoder.Initialise(0, 1, 720, 576, false));
    decoder.SetDeinterlace(true);
    LiveSessionState session;
    session.Attach(&decoder, 0);
    ASSERT_GE(session.PrepareLiveStart(), 0);

    std::vector<livemem::CameraPlayer> cameras;
    for (int channel = 0; channel < kChannels; ++channel)
        cameras.emplace_back(clips, 1000u + unsigned(channel));

    QImage window(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
    std::vector<std::uint8_t> picture;
    std::uint64_t pts = 0;
    long warmUpPeak = 0;
    long laterPeak = 0;
    std::string trace;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kRounds; ++round) {
        static const int kPerSide[] = {4, 2, 1, 4};
        ApplyLayout(decoder, kPerSide[round % 4]);
        // A zoom on the first pane now and then.
        if (round % 3 == 0)
            decoder.SetVideoViewport(0, 16, 16, 160, 120);
        else
            decoder.SetVideoViewport(0, 0, 0, 0, 0);
        for (int i = 0; i < kPicturesPerRound; ++i) {
            for (int channel = 0; channel < kChannels; ++channel) {
                cameras[std::size_t(channel)].Next(&picture, &pts);
                for (const auto& unit : media::PacketizeAccessUnit(std::uint8_t(0xE0 + channel), pts,
                                                                   picture.data(), picture.size()))
                    SendUnit(session, unit);
            }
            if (i % 4 == 0)
                Paint(decoder, window);
        }
        // Every fourth round the recorder pauses: the decoders catch up and
        // show what their parsers and deinterlacers hold.
        if (round % 4 == 3)
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        const long resident = ResidentKb();
        ASSERT_GT(resident, 0);
        long& peak = round < kWarmUpRounds ? warmUpPeak : laterPeak;
        peak = std::max(peak, resident);
        trace += " " + std::to_string(resident / 1024);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::uint64_t decoded = 0;
    std::uint64_t skipped = 0;
    for (int channel = 0; channel < kChannels; ++channel) {
        decoded += decoder.GetStats(channel).decoded;
        skipped += decoder.GetStats(channel).skipped;
    }
    std::printf("resident MB by round:%s\nwarm-up peak %ld MB, later peak %ld MB; %.1f s; decoded %llu, skipped %llu\n",
                trace.c_str(), warmUpPeak / 1024, laterPeak / 1024, seconds,
                static_cast<unsigned long long>(decoded), static_cast<unsigned long long>(skipped));
    // The decoders were behind: the overload policy had to skip.
    EXPECT_GT(skipped, 0u);
    EXPECT_GT(decoded, 0u);
    EXPECT_LE(laterPeak, warmUpPeak + kAllowedGrowthKb);
}
