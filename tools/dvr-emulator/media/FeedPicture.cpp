#include "FeedPicture.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "SyntheticScene.h"
#include "core/media/PesPacketizer.h"

namespace emulator::media {
namespace {

// Bump when the drawing or the packaging changes, so old cache files are not reused.
constexpr int kPictureFormatVersion = 3;
// Bits a second the plain scene needs per picture sample: at 704x576 and
// 25 fps the plainest camera encodes at about 0.75 Mb/s however high the
// ceiling, the busiest at about 1 Mb/s.
constexpr double kPlainBitsPerSample = 0.075;
// Grain amplitudes (luma levels): the least that still survives the
// quantiser, and the most, for when grain carries (almost) the whole rate.
// The encoder's rate control settles the final quantiser; the grain only has
// to give it moving detail enough to spend the bits on.
constexpr int kLeastGrain = 4;
constexpr int kFullGrain = 16;

// The hard content: bump when its drawing changes. Its scenery carries fixed
// fine texture, every frame has new noise of a fixed amplitude whatever the
// rate (as a camera's sensor has; the rate control settles what survives),
// and the camera wanders, so every block of every picture moves.
constexpr int kHardVersion = 1;
constexpr int kHardTexture = 24;
constexpr int kHardNoise = 16;
constexpr int kWanderX = 24;  // luma pixels either way
constexpr int kWanderY = 12;

// Grain for a loop that is to reach its rate, in proportion to the share of
// the rate the plain scene leaves open; none when the scene fills it.
int GrainAmplitude(const VideoLoopSettings& settings)
{
    if (settings.content == CameraContent::Hard)
        return kHardNoise;
    const double plain = kPlainBitsPerSample * settings.width * settings.height * settings.framesPerSecond;
    if (!settings.reachBitRate || settings.bitRate <= plain)
        return 0;
    const auto inProportion = static_cast<int>(std::ceil(kFullGrain * (settings.bitRate - plain) / settings.bitRate));
    return std::clamp(inProportion, kLeastGrain, kFullGrain);
}

ClipRect RegionOf(const FeedPicture::Camera& camera, const VideoLoopSettings& settings)
{
    if (camera.half < 0)
        return ClipRect{0, 0, settings.width, settings.height};
    const int middle = settings.width / 2;
    return camera.half == 0 ? ClipRect{0, 0, middle, settings.height}
                            : ClipRect{middle, 0, settings.width, settings.height};
}

// Where the hard content's camera points at a time: whole cycles per loop,
// so the last frame runs smoothly into the first; a camera of its own phase.
std::pair<int, int> WanderAt(int index, const VideoLoopSettings& settings, int camera)
{
    const double turn = 2 * std::numbers::pi * index / (settings.seconds * settings.framesPerSecond);
    const double phase = camera * 0.7;
    return {static_cast<int>(std::lround(kWanderX * std::sin(turn + phase))),
            static_cast<int>(std::lround(kWanderY * std::sin(2 * turn + phase)))};
}

}  // namespace

std::string FeedPicture::CacheKey(const VideoLoopSettings& settings) const
{
    std::string key = "emulator video v" + std::to_string(kPictureFormatVersion) + " " + settings.Text();
    if (settings.reachBitRate)
        key += " grain " + std::to_string(GrainAmplitude(settings));
    if (settings.content == CameraContent::Hard)
        key += " content hard v" + std::to_string(kHardVersion) + " texture " + std::to_string(kHardTexture) +
               " wander " + std::to_string(kWanderX) + "x" + std::to_string(kWanderY);
    key += " stream " + std::to_string(stream);
    for (const Camera& camera : cameras) {
        key += " | camera " + std::to_string(camera.camera) + " half " + std::to_string(camera.half) + " view " +
               camera.view.Text() + " name[" + std::to_string(camera.name.size()) + "]=" + camera.name;
    }
    return key;
}

bool FeedPicture::Encode(const VideoLoopSettings& settings, const std::atomic<bool>& cancel,
                         ::media::MediaLoop* out, std::string* error) const
{
    const uint32_t loopMs = static_cast<uint32_t>(settings.seconds) * 1000;
    std::vector<SyntheticScene> scenes;
    for (const Camera& camera : cameras)
        scenes.emplace_back(camera.camera, camera.name, camera.view, RegionOf(camera, settings), loopMs);

    // The scenery is drawn once; each frame starts from a copy of it.
    const int chromaWidth = (settings.width + 1) / 2;
    const int chromaHeight = (settings.height + 1) / 2;
    std::vector<uint8_t> luma(static_cast<size_t>(settings.width) * settings.height, 16);
    std::vector<uint8_t> blue(static_cast<size_t>(chromaWidth) * chromaHeight, 128);
    std::vector<uint8_t> red(blue.size(), 128);
    YuvCanvas background(luma.data(), settings.width, blue.data(), red.data(), chromaWidth, settings.width,
                         settings.height);
    const bool paired = !cameras.empty() && cameras.front().half >= 0;
    if (paired) {
        // A half without a camera stays dark and says so.
        for (int half = 0; half < 2; ++half) {
            const int left = half * settings.width / 2;
            background.DrawText(left + 40, settings.height / 2 - 16, 2, "NO CAMERA", FromRgb(160, 160, 160));
        }
    }
    for (const SyntheticScene& scene : scenes)
        scene.DrawBackground(background);
    if (paired)
        background.FillRect(settings.width / 2 - 2, 0, 4, settings.height, FromRgb(0, 0, 0));
    const bool hard = settings.content == CameraContent::Hard;
    if (hard)
        background.AddGrain(kHardTexture, ~uint64_t{static_cast<uint32_t>(stream)});

    const int grain = GrainAmplitude(settings);
    auto paint = [&](YuvCanvas& canvas, int index) {
        canvas.CopyFrom(background);
        if (hard) {
            for (const Camera& camera : cameras) {
                const auto [dx, dy] = WanderAt(index, settings, camera.camera);
                canvas.SetClip(RegionOf(camera, settings));
                canvas.CopyShiftedFrom(background, dx, dy);
            }
            canvas.SetClip(ClipRect{0, 0, settings.width, settings.height});
        }
        // New noise every frame, under the moving things and the burnt-in text.
        canvas.AddGrain(grain, uint64_t{static_cast<uint32_t>(stream)} << 32 | static_cast<uint32_t>(index));
        const auto timeMs = static_cast<uint32_t>(index * 1000 / settings.framesPerSecond);
        for (const SyntheticScene& scene : scenes)
            scene.DrawMoving(canvas, timeMs);
    };
    const auto streamId = static_cast<uint8_t>(::media::kVideoStreamIdBase + stream);
    return EncodeVideoLoop(settings, streamId, paint, cancel, out, error);
}

}  // namespace emulator::media
