#include "DecoderTestSupport.h"
#include "support/TempDir.h"

#include "core/media/MuLaw.h"
#include "platform/audio/AudioOutput.h"
#include "platform/decoder/MPEG4MultiDecoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

using namespace dectest;

std::vector<uint8_t> AudioPes(uint8_t streamId, const std::vector<uint8_t>& codes)
{
    std::vector<uint8_t> pes(9 + codes.size());
    const uint8_t header[9] = {0x00, 0x00, 0x01, streamId, 0, 0, 0x84, 0x00, 0x00};
    std::copy(header, header + 9, pes.begin());
    std::copy(codes.begin(), codes.end(), pes.begin() + 9);
    pes[4] = uint8_t((pes.size() - 6) >> 8);
    pes[5] = uint8_t(pes.size() - 6);
    return pes;
}

std::vector<int16_t> ReadSamples(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

TEST(AudioPlayback, OnlyTheSelectedChannelIsPlayedAtTheSetVolume)
{
    const std::string file = MakeTempDir() + "/audio.raw";
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv output("SDL_DISKAUDIOFILE", file);

    CountingWindow window;
    {
        CMPEG4MultiDecoder decoder;
        ASSERT_TRUE(decoder.InitializeDecodeSystems(window.Handle(), true, false));
        DemuxUnits(decoder, {PackHeader(), ClientMap(0x84)});
        decoder.SelectAudioChannel(2);
        decoder.SetVolume(50);
        constexpr double kPi = 3.14159265358979;
        for (int block = 0; block < 8; ++block) {
            std::vector<uint8_t> tone(400), loud(400, 0x80);
            for (int i = 0; i < 400; ++i)
                tone[i] = media::LinearToMuLaw(int16_t(16000 * std::sin(2 * kPi * 1000 * (block * 400 + i) / 8000.0)));
            const auto selected = AudioPes(0xC2, tone);
            const auto other = AudioPes(0xC1, loud);
            EXPECT_GT(decoder.Demux(selected.data(), selected.data() + selected.size(), 0), 0);
            EXPECT_GT(decoder.Demux(other.data(), other.data() + other.size(), 0), 0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(900));
    }
    const auto samples = ReadSamples(file);
    ASSERT_FALSE(samples.empty()) << "the disk audio driver wrote nothing";
    int peak = 0;
    int loudRun = 0;
    for (int16_t s : samples) {
        peak = std::max(peak, std::abs(int(s)));
        loudRun = s > 15000 ? loudRun + 1 : 0;
        EXPECT_LT(loudRun, 3);  // the constant full-scale channel never sounds
    }
    EXPECT_GT(peak, 7000);   // the 16000 tone at half volume
    EXPECT_LT(peak, 8800);
}

TEST(AudioPlayback, WithoutASoundDeviceItIsASilentSinkThatTakesEverything)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    AudioOutput output;
    EXPECT_TRUE(output.IsSilent());
    const std::vector<uint8_t> codes(100000, 0x80);
    output.SetVolume(250);
    output.PlayMuLaw(codes.data(), codes.size());
    output.Flush();
}

} // namespace
