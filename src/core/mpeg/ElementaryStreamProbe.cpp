#include "core/mpeg/ElementaryStreamProbe.h"

#include "core/mpeg/StartCode.h"

namespace mpeg {
namespace {

constexpr uint8_t kVisualObjectSequence = 0xB0;
constexpr uint8_t kGroupOfVop = 0xB3;
constexpr uint8_t kVisualObject = 0xB5;
constexpr uint8_t kVop = 0xB6;

constexpr uint8_t kNalIdr = 5;
constexpr uint8_t kNalSps = 7;

bool IsH264NalHeader(uint8_t b) { return (b & 0x80) == 0; }
uint8_t NalType(uint8_t b) { return b & 0x1F; }

bool IsKnownH264Profile(uint8_t profile)
{
    switch (profile) {
    case 44: case 66: case 77: case 83: case 86: case 88: case 100: case 110:
    case 118: case 122: case 128: case 134: case 135: case 138: case 139: case 144: case 244:
        return true;
    default:
        return false;
    }
}

bool IsMpeg4OnlyCode(uint8_t code)
{
    return code == kVisualObjectSequence || code == kGroupOfVop || code == kVisualObject || code == kVop;
}

bool IsVideoObjectLayer(uint8_t code) { return code >= 0x20 && code <= 0x2F; }

bool H264Keyframe(const uint8_t* data, size_t size)
{
    bool found = false;
    ForEachStartCode(data, size, [&](uint8_t code, size_t) {
        if (IsH264NalHeader(code) && (NalType(code) == kNalIdr || NalType(code) == kNalSps))
            found = true;
        return !found;
    });
    return found;
}

bool Mpeg4Keyframe(const uint8_t* data, size_t size)
{
    bool found = false;
    ForEachStartCode(data, size, [&](uint8_t code, size_t at) {
        if (IsVideoObjectLayer(code) || code == kGroupOfVop)
            found = true;
        else if (code == kVop && at + 1 < size)
            found = (data[at + 1] >> 6) == 0;  // vop_coding_type 0: intra
        return !found;
    });
    return found;
}

} // namespace

VideoCodec ProbeVideoCodec(const uint8_t* data, size_t size)
{
    bool mpeg4 = false;
    bool h264 = false;
    ForEachStartCode(data, size, [&](uint8_t code, size_t at) {
        if (IsMpeg4OnlyCode(code))
            mpeg4 = true;
        else if (IsH264NalHeader(code) && (code & 0x60) != 0 && NalType(code) == kNalSps && at + 1 < size &&
                 IsKnownH264Profile(data[at + 1]))
            h264 = true;
        return !mpeg4;
    });
    if (mpeg4)
        return VideoCodec::Mpeg4Part2;
    return h264 ? VideoCodec::H264 : VideoCodec::Unknown;
}

bool ContainsKeyframe(VideoCodec codec, const uint8_t* data, size_t size)
{
    switch (codec) {
    case VideoCodec::H264:
        return H264Keyframe(data, size);
    case VideoCodec::Mpeg4Part2:
        return Mpeg4Keyframe(data, size);
    default:
        return H264Keyframe(data, size) || Mpeg4Keyframe(data, size);
    }
}

} // namespace mpeg
