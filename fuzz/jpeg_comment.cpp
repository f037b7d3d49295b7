// Any file handed to the comment writer as a snapshot: a JPEG start, its
// application segments with lengths of any size, or noise.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/video/JpegComment.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::uint8_t> file(data, data + size);
    const auto out = InsertJpegComment(file, "Recorder: fuzz; Camera: 1");
    if (out && (out->size() != size + 29 || (*out)[0] != 0xFF || (*out)[1] != 0xD8))
        std::abort();
    return 0;
}
