// Arbitrary client bytes through the recorder's connection state machine, in
// the chunking the first input byte picks.
#include "FuzzRecorderBackend.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t chunk = 1 + data[0] % 64;
    ++data;
    --size;
    fuzzing::FuzzBackend backend;
    fuzzing::FuzzAuthority authority;
    wire::RecorderConnection connection(backend, authority, {}, 0);
    connection.Start(false);
    uint64_t now = 0;
    for (size_t at = 0; at < size && !connection.ShouldClose(); at += chunk) {
        connection.OnBytes(data + at, std::min(chunk, size - at), now);
        now += 100;
        connection.OnTick(now);
        connection.ConsumeOutgoing(connection.Outgoing().size());
    }
    return 0;
}
