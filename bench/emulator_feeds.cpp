// The recorder emulator's steady state: sixteen camera loops (4 s, 25 pictures
// a second, keyframe sizes as the emulator's encoder makes them) walked unit by
// unit into 1400-byte live fragments, and a warm start's reading and checking
// of the sixteen loop cache files. Baseline for each, in the same run: plain
// memcpy of the same bytes. Reports packets per second and the ratios.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/media/MediaLoopFile.h"
#include "core/media/PesPacketizer.h"

namespace {

constexpr int kCameras = 16;
constexpr int kLoopSeconds = 4;
constexpr int kFramesPerSecond = 25;
constexpr size_t kKeyframeBytes = 34000;  // the largest unit the emulator's loops carry
constexpr size_t kPictureBytes = 3500;
constexpr size_t kFragmentPayload = 1400;
constexpr int kWalkSeconds = 600;  // of stream time

using Clock = std::chrono::steady_clock;

media::MediaLoop MakeLoop(int camera)
{
    media::MediaLoop loop;
    loop.durationMs = kLoopSeconds * 1000;
    for (int frame = 0; frame < kLoopSeconds * kFramesPerSecond; ++frame) {
        const bool key = frame % kFramesPerSecond == 0;
        std::vector<uint8_t> picture(key ? kKeyframeBytes : kPictureBytes, static_cast<uint8_t>(frame + camera));
        const auto timeMs = static_cast<uint32_t>(frame * 1000 / kFramesPerSecond);
        auto packets =
            media::PacketizeAccessUnit(static_cast<uint8_t>(0xE0 + camera), media::MillisecondsToPts(timeMs),
                                       picture.data(), picture.size());
        loop.units.push_back(media::MediaUnit{std::move(packets.front()), timeMs, key});
    }
    return loop;
}

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Every unit of every camera for kWalkSeconds, cut into fragments with their
// two-byte header, as the live sender does; the PTS restamped on each pass.
size_t Walk(const std::vector<media::MediaLoop>& loops, std::vector<uint8_t>& unitCopy, std::vector<uint8_t>& out,
            size_t* bytes)
{
    size_t packets = 0;
    const int passes = kWalkSeconds / kLoopSeconds;
    for (int pass = 0; pass < passes; ++pass) {
        for (const auto& loop : loops) {
            for (const auto& unit : loop.units) {
                unitCopy.assign(unit.pes.begin(), unit.pes.end());
                media::RewritePesPts(unitCopy.data(), unitCopy.size(),
                                     media::MillisecondsToPts(unit.timeMs + pass * loop.durationMs));
                const size_t count = (unitCopy.size() + kFragmentPayload - 1) / kFragmentPayload;
                for (size_t i = 0; i < count; ++i) {
                    const size_t offset = i * kFragmentPayload;
                    const size_t part = std::min(kFragmentPayload, unitCopy.size() - offset);
                    out[0] = static_cast<uint8_t>(count);
                    out[1] = static_cast<uint8_t>(i);
                    std::memcpy(out.data() + 2, unitCopy.data() + offset, part);
                    *bytes += part;
                    ++packets;
                }
            }
        }
    }
    return packets;
}

}  // namespace

int main()
{
    std::vector<media::MediaLoop> loops;
    for (int camera = 0; camera < kCameras; ++camera)
        loops.push_back(MakeLoop(camera));

    std::vector<uint8_t> unitCopy(1 << 20);
    std::vector<uint8_t> fragment(2 + kFragmentPayload);
    size_t walkedBytes = 0;
    auto start = Clock::now();
    const size_t packets = Walk(loops, unitCopy, fragment, &walkedBytes);
    const double walkSeconds = Seconds(start);

    // Baseline: the same number of bytes in the same fragment-sized copies.
    std::vector<uint8_t> source(1 << 20, 1);
    start = Clock::now();
    size_t copied = 0;
    while (copied < walkedBytes) {
        const size_t part = std::min(kFragmentPayload, walkedBytes - copied);
        std::memcpy(fragment.data() + 2, source.data() + copied % (source.size() - kFragmentPayload), part);
        copied += part;
    }
    const double copySeconds = Seconds(start);
    const double streamPackets = static_cast<double>(packets) / kWalkSeconds;
    std::printf("walk: %zu packets (%.0f per stream second) in %.3f s = %.0f packets/s, %.0fx real time\n", packets,
                streamPackets, walkSeconds, packets / walkSeconds, kWalkSeconds / walkSeconds);
    std::printf("memcpy baseline: %.3f s; walk / memcpy = %.2f\n", copySeconds, walkSeconds / copySeconds);

    std::vector<std::vector<uint8_t>> files;
    for (const auto& loop : loops)
        files.push_back(media::EncodeMediaLoopFile(loop, "bench"));
    constexpr int kRounds = 20;
    start = Clock::now();
    for (int round = 0; round < kRounds; ++round) {
        for (const auto& file : files) {
            media::MediaLoop loop;
            std::string error;
            if (!media::DecodeMediaLoopFile(file.data(), file.size(), "bench", &loop, &error)) {
                std::fprintf(stderr, "cache file refused: %s\n", error.c_str());
                return 1;
            }
        }
    }
    const double readSeconds = Seconds(start) / kRounds;
    start = Clock::now();
    size_t sink = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (const auto& file : files) {
            std::vector<uint8_t> copy(file);
            sink += copy[copy.size() / 2];
        }
    }
    const double fileCopySeconds = Seconds(start) / kRounds;
    std::printf("warm start, 16 loop files checked and read: %.2f ms; memcpy of the files: %.2f ms; ratio %.2f (%zu)\n",
                readSeconds * 1000, fileCopySeconds * 1000, readSeconds / fileCopySeconds, sink % 2);
    return 0;
}
