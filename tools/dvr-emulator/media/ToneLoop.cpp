#include "ToneLoop.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "core/media/MuLaw.h"
#include "core/media/PesPacketizer.h"

namespace emulator::media {

int ToneFrequencyHz(int camera) { return 400 + 50 * camera; }

::media::MediaLoop MakeToneLoop(uint8_t streamId, int frequencyHz, uint32_t durationMs)
{
    constexpr double kAmplitude = 8000;  // about -12 dB below full scale
    constexpr size_t kSamplesPerUnit = kToneSampleRate * kToneUnitMs / 1000;
    ::media::MediaLoop loop;
    loop.durationMs = durationMs;
    std::vector<uint8_t> samples(kSamplesPerUnit);
    size_t sample = 0;
    for (uint32_t timeMs = 0; timeMs < durationMs; timeMs += kToneUnitMs) {
        for (uint8_t& code : samples) {
            const double phase = 2 * std::numbers::pi * frequencyHz * static_cast<double>(sample++) / kToneSampleRate;
            code = ::media::LinearToMuLaw(static_cast<int16_t>(std::lround(kAmplitude * std::sin(phase))));
        }
        auto packets = ::media::PacketizeAccessUnit(streamId, ::media::MillisecondsToPts(timeMs), samples.data(),
                                                    samples.size());
        loop.units.push_back(::media::MediaUnit{std::move(packets.front()), timeMs, true});
    }
    return loop;
}

}  // namespace emulator::media
