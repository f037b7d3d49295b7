#include "core/mpeg/StreamType.h"

namespace mpeg {

VideoCodec VideoCodecForStreamType(uint8_t streamType)
{
    switch (streamType) {
    case kStreamTypeH264:
    case kStreamTypeRecorderH264:
        return VideoCodec::H264;
    case kStreamTypeMpeg4Video:
    case kStreamTypeRecorderMpeg4:
        return VideoCodec::Mpeg4Part2;
    default:
        return VideoCodec::Unknown;
    }
}

} // namespace mpeg
