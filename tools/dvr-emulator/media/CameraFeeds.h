#pragma once
// Synthetic cameras of the recorder emulator: per camera a looping, pre-encoded
// H.264 picture and a G.711 tone, each unit one whole PES packet, plus PTZ
// commands from the recorder's serial port that move a camera's view.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CameraContent.h"
#include "core/media/MediaLoop.h"

namespace emulator::media {

// MediaUnit: { std::vector<uint8_t> pes; uint32_t timeMs; bool keyframe; }, one
// whole PES packet: 00 00 01, stream id 0xE0+n for video and 0xC0+n for audio,
// n the recorder's 0-based camera number (paired models: the picture number).
// timeMs counts from the loop's start; the PTS says the same in 90 kHz ticks
// and starts again with each pass (media::RewritePesPts restamps a copy).
// MediaLoop: { std::vector<MediaUnit> units; uint32_t durationMs; }, units in
// time order, the first a keyframe; the loop repeats after durationMs.
using MediaUnit = ::media::MediaUnit;
using MediaLoop = ::media::MediaLoop;

// Bit rates a camera loop can be asked to reach, bits a second.
constexpr int kMinCameraBitRate = 100000;
constexpr int kMaxCameraBitRate = 20000000;

struct CameraSpec {
    int camera = 0;  // 0-based camera number, 0..15, as on the wire and in channel masks
    std::string name;
    bool hasAudio = false;
    int ptzAddress = -1;  // Pelco address on the serial line; -1 = camera + 1
};

struct FeedSetup {
    int dvrTypeCode = 3;             // 1..6 = MODEL_A..MODEL_F
    bool twoCameraPictures = false;  // paired models: two cameras side by side in one picture
    std::vector<CameraSpec> cameras;
    int loopSeconds = 0;  // 0 = the emulator's loop length; tests ask for shorter loops
    // 0 = the plain scene under the emulator's ceiling (about 1 Mb/s);
    // otherwise the rate the loops reach, kMinCameraBitRate..kMaxCameraBitRate.
    int bitRate = 0;
    // Hard content always reaches its rate: bitRate, or 1.5 Mb/s when 0.
    CameraContent content = CameraContent::Plain;
};

class CameraFeedsImpl;

class CameraFeeds {
public:
    // Encodes (or loads from cacheDir) one loop per picture; cacheDir is
    // created when missing. Returns null and fills *error when the setup is
    // invalid or the feeds cannot be made.
    static std::unique_ptr<CameraFeeds> Create(const std::string& cacheDir, const FeedSetup& setup,
                                               std::string* error);
    ~CameraFeeds();
    CameraFeeds(const CameraFeeds&) = delete;
    CameraFeeds& operator=(const CameraFeeds&) = delete;

    // Thread-safe; the loop object changes after a PTZ move (switch at its next
    // keyframe). Null for a camera not in the setup. With twoCameraPictures,
    // cameras 2p and 2p+1 share one loop (stream id 0xE0+p): send each
    // distinct loop object once.
    std::shared_ptr<const MediaLoop> Video(int camera) const;
    std::shared_ptr<const MediaLoop> Audio(int camera) const;  // null when the camera has no audio

    // Bytes written to the recorder's serial line, in any chunking. Pelco-D and
    // Pelco-P commands move a camera's view a step at once and a step every
    // HeldPtzMoves::kRepeatMs until a stop arrives for it: the client's
    // trailer ('a' 'a' channel) names the camera, otherwise the Pelco address
    // does (Pelco-D: the address itself, Pelco-P: address + 1). The new view's
    // loop is made in the background; Video() returns it once ready.
    void OnSerialBytes(const uint8_t* data, size_t length);

private:
    explicit CameraFeeds(std::unique_ptr<CameraFeedsImpl> impl);
    std::unique_ptr<CameraFeedsImpl> impl_;
};

}  // namespace emulator::media
