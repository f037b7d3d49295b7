#pragma once

#include "core/mpeg/StreamType.h"

#include <cstddef>
#include <cstdint>

namespace mpeg {

// Tells the video codec from elementary stream bytes (start codes of H.264
// Annex B or MPEG-4 Part 2). Unknown unless the bytes decide it: MPEG-4 by a
// visual object sequence, visual object, group or VOP start code (codes that
// no H.264 NAL header can take), H.264 by a sequence parameter set with a
// known profile.
VideoCodec ProbeVideoCodec(const uint8_t* data, size_t size);

// True when the bytes hold the start of a picture a decoder can begin with:
// an H.264 IDR slice or sequence parameter set; an MPEG-4 video object layer
// header, group of VOPs or intra-coded VOP. With Unknown both are looked for.
bool ContainsKeyframe(VideoCodec codec, const uint8_t* data, size_t size);

} // namespace mpeg
