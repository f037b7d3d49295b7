#include "bench/support/EmulatorLoops.h"

#include "bench/support/CameraLoops.h"
#include "EmulatorOptions.h"
#include "media/CameraFeeds.h"

namespace benchsupport {
namespace {

constexpr int kCameras = 16;

} // namespace

std::vector<std::vector<AccessUnit>> MakeEmulatorLoops(emulator::media::CameraContent content, long bitRate,
                                                       std::string* error)
{
    emulator::media::FeedSetup setup;
    setup.bitRate = static_cast<int>(bitRate);
    setup.content = content;
    // The factory names MODEL_C's cameras have on a new recorder, so the keys are the emulator's.
    for (int camera = 0; camera < kCameras; ++camera)
        setup.cameras.push_back({camera, "CAM" + std::to_string(camera + 1), false, -1});
    // dvr-emulator's default cache, so a benchmark and the emulator encode each loop once between them.
    const auto defaults = emulator::ParseEmulatorOptions({}, error);
    if (!defaults)
        return {};
    const auto feeds = emulator::media::CameraFeeds::Create(defaults->cacheDir, setup, error);
    if (!feeds)
        return {};
    std::vector<std::vector<AccessUnit>> loops;
    for (int camera = 0; camera < kCameras; ++camera) {
        loops.push_back(VideoAccessUnits(*feeds->Video(camera)));
        if (loops.back().empty()) {
            *error = "camera " + std::to_string(camera) + "'s loop holds no video";
            return {};
        }
    }
    return loops;
}

} // namespace benchsupport
