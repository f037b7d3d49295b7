#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace mpeg {

// One PES packet of a program stream; payload points into the parsed bytes.
struct PesPacket {
    uint8_t streamId = 0;
    size_t size = 0;  // whole packet
    bool hasPts = false;
    uint64_t pts = 0;  // 33 bits, 90 kHz
    bool dataAlignment = false;
    const uint8_t* payload = nullptr;
    size_t payloadSize = 0;
};

// Stream ids that carry a PES packet (0xBD and up); below are pack, system
// header, map and end codes, or elementary start codes.
bool IsPesStreamId(uint8_t streamId);

// Reads the PES packet at data, with either the MPEG-2 or the MPEG-1 header.
// A video packet with length 0 (unbounded) takes all of size. Nothing when
// the bytes are not a PES packet, its header is malformed, or the packet runs
// past size; bytes after the packet are left alone.
std::optional<PesPacket> ParsePesPacket(const uint8_t* data, size_t size);

} // namespace mpeg
