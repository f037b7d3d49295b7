#pragma once

#include <array>
#include <cstdint>

// Video stream ids of PES units: 0xE0 + n; audio: 0xC0 + n (n = 0..15).
constexpr std::uint8_t kVideoStreamIdBase = 0xE0;
constexpr std::uint8_t kAudioStreamIdBase = 0xC0;
constexpr int kStreamsPerKind = 16;

// One live session's stream-id map: a recorder camera's video stream id
// (source) is rewritten to the decoder channel's (target). Source 0 marks an
// empty entry. A free slot is all zero.
struct StreamMapSlot {
    std::uint8_t inUse = 0;
    std::array<std::uint8_t, kStreamsPerKind> source{};
    std::array<std::uint8_t, kStreamsPerKind> target{};
};
