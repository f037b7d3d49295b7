#include "core/net/Frame.h"

#include <cstring>

namespace wire {

std::array<uint8_t, kHeaderSize> EncodeFrameHeader(MessageType type, uint32_t sequence, uint32_t payloadLength,
                                                   uint16_t version)
{
    std::array<uint8_t, kHeaderSize> h{};
    std::memcpy(h.data(), kMagic, 4);
    const auto put16 = [&](size_t at, uint16_t v) {
        h[at] = static_cast<uint8_t>(v);
        h[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    const auto put32 = [&](size_t at, uint32_t v) {
        put16(at, static_cast<uint16_t>(v));
        put16(at + 2, static_cast<uint16_t>(v >> 16));
    };
    put16(4, version);
    put16(6, static_cast<uint16_t>(type));
    put32(8, sequence);
    put32(12, payloadLength);
    return h;
}

void AppendFrame(std::vector<uint8_t>& out, MessageType type, uint32_t sequence, const uint8_t* payload,
                 size_t length, uint16_t version)
{
    const auto header = EncodeFrameHeader(type, sequence, static_cast<uint32_t>(length), version);
    out.insert(out.end(), header.begin(), header.end());
    if (length)
        out.insert(out.end(), payload, payload + length);
}

}  // namespace wire
