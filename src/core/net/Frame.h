#pragma once
// Frame encoding: 16-byte header (magic, version, type, sequence, length)
// followed by the payload.

#include "core/net/WireFormat.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace wire {

// A decoded frame; payload points into the decoder's buffer and stays valid
// until the decoder's next Feed or Next call.
struct FrameView {
    MessageType type = MessageType::Poll;
    uint16_t version = kProtocolVersion;
    uint32_t sequence = 0;
    const uint8_t* payload = nullptr;
    uint32_t length = 0;
};

std::array<uint8_t, kHeaderSize> EncodeFrameHeader(MessageType type, uint32_t sequence, uint32_t payloadLength,
                                                   uint16_t version = kProtocolVersion);

// Appends header and payload to out.
void AppendFrame(std::vector<uint8_t>& out, MessageType type, uint32_t sequence, const uint8_t* payload,
                 size_t length, uint16_t version = kProtocolVersion);

inline void AppendFrame(std::vector<uint8_t>& out, MessageType type, uint32_t sequence,
                        const std::vector<uint8_t>& payload, uint16_t version = kProtocolVersion)
{
    AppendFrame(out, type, sequence, payload.data(), payload.size(), version);
}

// Numbers the frames one side sends on a connection: 0, 1, 2, ...
class FrameSequencer {
public:
    uint32_t Take() { return next_++; }
    uint32_t Peek() const { return next_; }

private:
    uint32_t next_ = 0;
};

}  // namespace wire
