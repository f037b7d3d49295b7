#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/CameraFeeds.h"
#include "support/TempDir.h"

namespace mediatest {

// The full paths of the files in a folder, sorted.
std::vector<std::string> SortedFiles(const std::string& folder);

// A decoded picture, planes packed without padding.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> y, u, v;
    // Mean of a plane over a rectangle given in luma pixels.
    double Mean(const std::vector<uint8_t>& plane, int left, int top, int right, int bottom) const;
};

// Decodes the loop's video units from the start with libavcodec's H.264
// decoder (a unit without a PTS continues the picture before it) and returns
// the pictures of the first `count` frames.
std::vector<Picture> DecodeVideo(const emulator::media::MediaLoop& loop, size_t count, std::string* error);

// The payload of each unit's PES packet, concatenated.
std::vector<uint8_t> Elementary(const emulator::media::MediaLoop& loop);

// The bit rate a loop reaches: every unit's bytes over the loop's length.
double BitsPerSecond(const emulator::media::MediaLoop& loop);

// The NAL unit types of an Annex B byte stream, in order.
std::vector<int> NalTypes(const std::vector<uint8_t>& annexB);

}  // namespace mediatest
