#include "DecoderTestSupport.h"

#include "platform/decoder/MPEG4MultiDecoder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace dectest;

// Demux on the network thread while the window's thread lays out, zooms,
// paints, captures and clears: nothing crashes, deadlocks or races.
TEST(DecoderThreads, DemuxRunsBesideEveryWindowCall)
{
    MP4MUL_InitializeDecoder();
    CountingWindow window;
    CMPEG4MultiDecoder decoder;
    ASSERT_TRUE(decoder.InitializeDecodeSystems(window.Handle(), true, false));
    decoder.SetDeinterlace(true);
    const auto units = ReadAccessUnits(GetMedia().h264Qcif);
    std::atomic<bool> done{false};
    std::thread network([&] {
        DemuxUnits(decoder, {PackHeader(), ClientMap(0x84)});
        for (int round = 0; round < 6; ++round) {
            for (size_t i = 0; i < units.size(); ++i) {
                for (uint8_t id = 0xE0; id < 0xE4; ++id)
                    DemuxUnits(decoder, Packetize(id, 3600 * i, units[i].data));
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
        done = true;
    });

    const std::string capture = GetMedia().dir + "/threads.jpg";
    int step = 0;
    auto callback = [](int, QPainter*, void*, void*, void* context) { ++*static_cast<int*>(context); };
    int callbacks = 0;
    decoder.SetRenderCallback(callback, &callbacks);
    while (!done) {
        const int channel = step % 4;
        const int size = 100 + (step % 3) * 100;
        decoder.SetVideoPos(channel, 0, 0, size, size * 3 / 4);
        decoder.SetVideoViewport(channel, 0, 0, decoder.GetVideoWidth(channel) / 2, decoder.GetVideoHeight(channel));
        Paint(decoder, 320, 240);
        decoder.GetStats(channel);
        decoder.Redraw();
        decoder.SelectAudioChannel(step % 16);
        decoder.SetVolume(step % 101);
        decoder.CaptureJPEG(capture.c_str(), channel);
        if (step % 25 == 24)
            decoder.ClearChannel(channel);
        ++step;
    }
    network.join();
    EXPECT_GT(callbacks, 0);
    EXPECT_GT(decoder.GetStats(0).decoded + decoder.GetStats(1).decoded, 0u);
}

TEST(DecoderThreads, ReinitialisingWhileUnitsArriveIsSafe)
{
    CountingWindow window;
    CMPEG4MultiDecoder decoder;
    ASSERT_TRUE(decoder.InitializeDecodeSystems(window.Handle(), true, false));
    const auto units = ReadAccessUnits(GetMedia().h264Qcif);
    std::atomic<bool> done{false};
    std::thread network([&] {
        for (int round = 0; round < 20 && !done; ++round) {
            for (size_t i = 0; i < units.size(); ++i)
                DemuxUnits(decoder, Packetize(0xE0, 3600 * i, units[i].data));
        }
    });
    for (int i = 0; i < 10; ++i) {
        decoder.DisposeDecodeSystems();
        EXPECT_TRUE(decoder.InitializeDecodeSystems(window.Handle(), true, i % 2 == 0));
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    done = true;
    network.join();
}

} // namespace
