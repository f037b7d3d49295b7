#pragma once

#include <cstdint>
#include <vector>

// A few seconds of real H.264 (libx264 through libavcodec) cut into PES units
// and live packets, as a recorder would send them.

// Access units (Annex B) of `frames` pictures of width x height, a keyframe first.
std::vector<std::vector<std::uint8_t>> EncodeH264(int width, int height, int frames);

// One PES unit per access unit on video stream 0xE0 + camera.
std::vector<std::vector<std::uint8_t>> VideoUnits(int camera, const std::vector<std::vector<std::uint8_t>>& aus);

// A unit cut into live packets [count][index][payload] of at most `payload` bytes each.
std::vector<std::vector<unsigned char>> LivePackets(const std::vector<std::uint8_t>& unit, std::size_t payload);
