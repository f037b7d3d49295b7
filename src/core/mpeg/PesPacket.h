#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace mpeg {

// One PES packet of a program stream; payload points into the parsed bytes.
struct PesPacket {
    uint8_t streamId = 0;
    size_t size = 0;  // whole packet
    bool hasPts = false;
    uint64_t pts = 0;  // 33 bits, 90 kHz
    bool hasDts = false;
    uint64_t dts = 0;
    bool dataAlignment = false;
    const uint8_t* payload = nullptr;
    size_t payloadSize = 0;
};

// A packet whose PES_packet_length is at its 16-bit maximum.
constexpr size_t kMaxPesPacketBytes = 6 + 0xFFFF;

// Stream ids that carry a PES packet (0xBD and up); below are pack, system
// header, map and end codes, or elementary start codes.
bool IsPesStreamId(uint8_t streamId);

// Reads the PES packet at data as a recorder may send it: with either the
// MPEG-2 or the MPEG-1 header, and a video packet with length 0 (unbounded)
// takes all of size. A DTS is read when the header holds a sound one.
// Nothing (with the reason in error, when given) when the bytes are not a
// PES packet, its header is malformed, or the packet runs past size; bytes
// after the packet are left alone.
std::optional<PesPacket> ParsePesPacket(const uint8_t* data, size_t size, std::string* error = nullptr);

// Reads the PES packet at data only in the form our own writer makes it: a
// bounded length, the MPEG-2 header, and time stamp fields with their
// prefixes and a DTS wherever the flags say so.
std::optional<PesPacket> ParseMpeg2PesPacket(const uint8_t* data, size_t size, std::string* error);

} // namespace mpeg
