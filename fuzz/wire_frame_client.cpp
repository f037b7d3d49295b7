// The client's parse of arbitrary recorder bytes: control-connection streams
// (from the first byte, or after a completed log-in) and UDP datagrams, fed
// through the same protocol object a session uses.
//
// Input: [mode][chunk size][bytes...]. Mode bit 0: log in first; bit 1: also
// hand the bytes over as one datagram. Chunk size splits the stream.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzClient.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    std::uint8_t mode = data[0];
    std::size_t chunk = static_cast<std::size_t>(data[1]) % 97 + 1;
    data += 2;
    size -= 2;

    fuzzing::TouchingSink sink;
    ClientInbox inbox;
    ClientProtocol protocol(sink, inbox);
    if (mode & 1)
        fuzzing::LogIn(protocol);
    if (mode & 2) {
        std::vector<std::uint8_t> datagram(data, data + size);
        protocol.OnDatagram(datagram.data(), datagram.size());
    }
    for (std::size_t at = 0; at < size; at += chunk) {
        std::size_t length = size - at < chunk ? size - at : chunk;
        if (!protocol.OnControlBytes(data + at, length))
            break;
    }
    std::vector<std::uint8_t> block;
    while (inbox.TakeLogBlock(block) || inbox.TakeDailyBlock(block)) {
    }
    return 0;
}
