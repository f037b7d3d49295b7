#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "CameraContent.h"
#include "YuvCanvas.h"
#include "core/media/MediaLoop.h"

namespace emulator::media {

struct VideoLoopSettings {
    int width = 704;
    int height = 576;
    int framesPerSecond = 25;
    int seconds = 4;            // loop length; whole seconds so the loop ends on a keyframe boundary
    int bitRate = 1500000;
    // False: bitRate is a ceiling the plain scene stays well below. True: the
    // loop is to reach it, so the encoder has no quality floor and the
    // pictures carry grain enough to need it (see FeedPicture).
    bool reachBitRate = false;
    // Hard content is coded as cameras code it (x264 medium, main profile,
    // CABAC, deblocking) and always reaches its rate; plain as cheaply as
    // x264 can (ultrafast, baseline).
    CameraContent content = CameraContent::Plain;
    std::string Text() const;   // every value above, for cache keys
};

// Paints frame `index` (0-based) of the loop into the canvas.
using FramePainter = std::function<void(YuvCanvas& canvas, int index)>;

// Encodes one loop with libx264 (the content's profile, no B pictures, a
// keyframe every second with its parameter sets) into PES units of one video
// stream. Returns
// false with a reason on failure or when cancel becomes true.
bool EncodeVideoLoop(const VideoLoopSettings& settings, uint8_t streamId, const FramePainter& paint,
                     const std::atomic<bool>& cancel, ::media::MediaLoop* out, std::string* error);

}  // namespace emulator::media
