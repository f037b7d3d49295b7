#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <numbers>

#include "emulator/media/MediaTestSupport.h"
#include "media/CameraFeeds.h"
#include "media/ToneLoop.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

using emulator::media::CameraFeeds;
using emulator::media::CameraSpec;
using emulator::media::FeedSetup;

// An MPEG-2 pack header with SCR 0, as a program stream starts.
const std::vector<uint8_t> kPackHeader = {0x00, 0x00, 0x01, 0xBA, 0x44, 0x00, 0x04,
                                          0x00, 0x04, 0x01, 0x01, 0x89, 0xC3, 0xF8};

// FFmpeg's own program stream reader finds our units and their times.
TEST(StreamFormat, FfmpegReadsTheVideoUnitsAsAProgramStream)
{
    TempDir folder;
    FeedSetup setup;
    setup.loopSeconds = 1;
    setup.cameras = {CameraSpec{6, "Gate", false, -1}};
    std::string error;
    const auto feeds = CameraFeeds::Create(folder.path(), setup, &error);
    ASSERT_TRUE(feeds) << error;
    const auto loop = feeds->Video(6);
    ASSERT_TRUE(loop);

    const std::string path = folder.path() + "/camera.mpg";
    {
        std::ofstream out(path, std::ios::binary);
        for (const auto& unit : loop->units) {
            out.write(reinterpret_cast<const char*>(kPackHeader.data()), static_cast<std::streamsize>(kPackHeader.size()));
            out.write(reinterpret_cast<const char*>(unit.pes.data()), static_cast<std::streamsize>(unit.pes.size()));
        }
    }
    AVFormatContext* raw = nullptr;
    ASSERT_EQ(avformat_open_input(&raw, path.c_str(), av_find_input_format("mpeg"), nullptr), 0);
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> format(
        raw, [](AVFormatContext* c) { avformat_close_input(&c); });
    ASSERT_GE(avformat_find_stream_info(format.get(), nullptr), 0);
    ASSERT_EQ(format->nb_streams, 1u);
    const AVStream* stream = format->streams[0];
    EXPECT_EQ(stream->id, 0x1E6);
    EXPECT_EQ(stream->codecpar->codec_id, AV_CODEC_ID_H264);
    EXPECT_EQ(stream->codecpar->width, 704);
    EXPECT_EQ(stream->codecpar->height, 576);

    std::vector<int64_t> times;
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(format.get(), packet) >= 0) {
        times.push_back(packet->pts);
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    ASSERT_EQ(times.size(), loop->units.size());
    for (size_t i = 0; i < times.size(); ++i)
        EXPECT_EQ(times[i], static_cast<int64_t>(loop->units[i].timeMs) * 90) << i;
}

// The tone decoded by FFmpeg's G.711 decoder has the camera's pitch and a
// moderate level, and runs on across the loop's end without a jump.
TEST(StreamFormat, ToneHasTheCamerasPitch)
{
    const int frequency = emulator::media::ToneFrequencyHz(5);
    EXPECT_NE(frequency, emulator::media::ToneFrequencyHz(6));
    const auto loop = emulator::media::MakeToneLoop(0xC5, frequency, 2000);
    ASSERT_EQ(loop.units.size(), 50u);

    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_PCM_MULAW);
    ASSERT_TRUE(codec);
    std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> context(
        avcodec_alloc_context3(codec), [](AVCodecContext* c) { avcodec_free_context(&c); });
    context->sample_rate = 8000;
    av_channel_layout_default(&context->ch_layout, 1);
    ASSERT_EQ(avcodec_open2(context.get(), codec, nullptr), 0);
    std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
    AVPacket* packet = av_packet_alloc();

    std::vector<int> samples;
    const auto bytes = mediatest::Elementary(loop);
    std::vector<uint8_t> padded(bytes);
    padded.resize(bytes.size() + AV_INPUT_BUFFER_PADDING_SIZE);
    packet->data = padded.data();
    packet->size = static_cast<int>(bytes.size());
    ASSERT_EQ(avcodec_send_packet(context.get(), packet), 0);
    while (avcodec_receive_frame(context.get(), frame.get()) == 0) {
        const auto* pcm = reinterpret_cast<const int16_t*>(frame->data[0]);
        samples.insert(samples.end(), pcm, pcm + frame->nb_samples);
    }
    av_packet_free(&packet);
    ASSERT_EQ(samples.size(), 16000u);

    int crossings = 0;
    int peak = 0;
    for (size_t i = 1; i < samples.size(); ++i) {
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
        peak = std::max(peak, std::abs(samples[i]));
    }
    EXPECT_NEAR(crossings / 2.0 / 2.0, frequency, 2.0);
    EXPECT_GT(peak, 6000);
    EXPECT_LT(peak, 10000);
    // Last sample to first: no larger a step than anywhere else in the tone.
    const double maxStep = 2 * std::numbers::pi * frequency / 8000 * 8000 * 1.1 + 64;
    EXPECT_LT(std::abs(samples.front() - samples.back()), maxStep);
}

}  // namespace
