#pragma once

#include <cstdint>

namespace mpeg {

// stream_type values of a program stream map.
constexpr uint8_t kStreamTypeMpeg4Video = 0x10;    // ISO/IEC 14496-2
constexpr uint8_t kStreamTypeH264 = 0x1B;          // ISO/IEC 14496-10
constexpr uint8_t kStreamTypeRecorderMpeg4 = 0x82; // the recorders' MPEG-4 Part 2 video
constexpr uint8_t kStreamTypeRecorderH264 = 0x84;  // the recorders' H.264 video
constexpr uint8_t kStreamTypeMuLaw = 0x91;         // G.711 mu-law, 8 kHz mono

enum class VideoCodec : uint8_t { Unknown, H264, Mpeg4Part2 };

// The video codec a stream_type names; Unknown for anything else.
VideoCodec VideoCodecForStreamType(uint8_t streamType);

} // namespace mpeg
