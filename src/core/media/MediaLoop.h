#pragma once

#include <cstdint>
#include <vector>

namespace media {

// One whole PES packet of a looping elementary stream.
struct MediaUnit {
    std::vector<uint8_t> pes;
    uint32_t timeMs = 0;    // offset from the loop's start
    bool keyframe = false;  // video: IDR picture with its parameter sets; audio: every unit
};

// Units of one stream in time order; the loop repeats after durationMs.
struct MediaLoop {
    std::vector<MediaUnit> units;
    uint32_t durationMs = 0;
};

}  // namespace media
