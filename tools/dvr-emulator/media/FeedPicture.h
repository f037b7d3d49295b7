#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "PtzView.h"
#include "VideoLoopEncoder.h"
#include "core/media/MediaLoop.h"

namespace emulator::media {

// What one video stream shows: one camera, or on the paired models two
// cameras side by side (left: the even camera, right: the odd one).
struct FeedPicture {
    struct Camera {
        int camera = 0;
        std::string name;
        PtzView view;
        int half = -1;  // -1 whole picture, 0 left, 1 right
    };
    int stream = 0;  // stream id 0xE0 + stream
    std::vector<Camera> cameras;

    // Names everything that shapes the encoded bytes.
    std::string CacheKey(const VideoLoopSettings& settings) const;
    bool Encode(const VideoLoopSettings& settings, const std::atomic<bool>& cancel, ::media::MediaLoop* out,
                std::string* error) const;
};

}  // namespace emulator::media
