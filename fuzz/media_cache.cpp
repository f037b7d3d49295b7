// Media loop cache files of the recorder emulator, read back on start.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/media/MediaLoopFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // With the first byte odd, the checksum is made right first so the
    // fuzzer gets past it into the structure.
    std::vector<uint8_t> file(data + 1, data + size);
    if ((data[0] & 1) != 0 && file.size() >= 8) {
        const uint64_t sum = media::Fnv1a64(file.data(), file.size() - 8);
        for (size_t i = 0; i < 8; ++i)
            file[file.size() - 8 + i] = static_cast<uint8_t>(sum >> (8 * i));
    }
    media::MediaLoop loop;
    std::string error;
    if (media::DecodeMediaLoopFile(file.data(), file.size(), "fuzz", &loop, &error)) {
        // The format has one spelling per loop: what is accepted writes back the same.
        if (media::EncodeMediaLoopFile(loop, "fuzz") != file)
            std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
