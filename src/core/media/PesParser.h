#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace media {

// The fields of one PES packet; payload points into the parsed bytes.
struct PesPacketView {
    uint8_t streamId = 0;
    size_t packetSize = 0;  // 6 + PES_packet_length
    bool hasPts = false;
    uint64_t pts = 0;  // 33 bits, 90 kHz
    bool hasDts = false;
    uint64_t dts = 0;
    bool dataAlignment = false;
    const uint8_t* payload = nullptr;
    size_t payloadSize = 0;
};

// Parses the PES packet that starts at data; bytes after it are left alone.
// Refuses (with a reason) a short or truncated packet, a missing start code,
// a stream id that is no PES stream, the unbounded length 0, broken marker
// bits and a header that runs past the packet.
bool ParsePesPacket(const uint8_t* data, size_t size, PesPacketView* out, std::string* error);

}  // namespace media
