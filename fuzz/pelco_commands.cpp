// Serial-line bytes of the recorder emulator: Pelco-D/P commands with or
// without the viewer's trailer, in any chunking, mixed with noise.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/media/PelcoCommandParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the chunk length, so splits are explored too.
    const size_t chunk = data[0] % 16 + 1;
    ++data;
    --size;
    media::PelcoCommandParser parser;
    size_t commands = 0;
    for (size_t done = 0; done < size; done += chunk) {
        const size_t part = size - done < chunk ? size - done : chunk;
        for (const media::PtzCommand& command : parser.Feed(data + done, part)) {
            ++commands;
            if (command.extended && command.Moves())
                std::abort();
            if (command.channel < -1 || command.channel > 255)
                std::abort();
        }
    }
    // Each command takes at least seven bytes that were not skipped.
    if (parser.SkippedBytes() + commands * 7 > size)
        std::abort();
    return 0;
}
