#include "core/media/PesPacketizer.h"

#include <algorithm>
#include <cstddef>

namespace media {
namespace {

void PutPts(uint8_t* out, uint64_t pts)
{
    // '0010' PTS[32..30] marker, PTS[29..15] marker, PTS[14..0] marker.
    out[0] = static_cast<uint8_t>(0x21 | ((pts >> 29) & 0x0E));
    out[1] = static_cast<uint8_t>(pts >> 22);
    out[2] = static_cast<uint8_t>(0x01 | ((pts >> 14) & 0xFE));
    out[3] = static_cast<uint8_t>(pts >> 7);
    out[4] = static_cast<uint8_t>(0x01 | ((pts << 1) & 0xFE));
}

std::vector<uint8_t> MakePacket(uint8_t streamId, const uint64_t* pts, const uint8_t* data, size_t size)
{
    const size_t optional = pts ? 5 : 0;
    const size_t afterLength = 3 + optional + size;
    std::vector<uint8_t> packet(6 + afterLength);
    packet[0] = 0x00;
    packet[1] = 0x00;
    packet[2] = 0x01;
    packet[3] = streamId;
    packet[4] = static_cast<uint8_t>(afterLength >> 8);
    packet[5] = static_cast<uint8_t>(afterLength);
    packet[6] = static_cast<uint8_t>(0x80 | (pts ? 0x04 : 0x00));  // '10', data_alignment on the first
    packet[7] = pts ? 0x80 : 0x00;                                    // PTS only
    packet[8] = static_cast<uint8_t>(optional);
    if (pts)
        PutPts(&packet[9], *pts & 0x1FFFFFFFFull);
    std::copy_n(data, size, packet.begin() + 9 + static_cast<std::ptrdiff_t>(optional));
    return packet;
}

}  // namespace

std::vector<std::vector<uint8_t>> PacketizeAccessUnit(uint8_t streamId, uint64_t pts90kHz,
                                                      const uint8_t* data, size_t size)
{
    std::vector<std::vector<uint8_t>> packets;
    size_t first = std::min(size, kMaxPesPayloadWithPts);
    packets.push_back(MakePacket(streamId, &pts90kHz, data, first));
    for (size_t done = first; done < size;) {
        const size_t part = std::min(size - done, kMaxPesPayloadWithoutPts);
        packets.push_back(MakePacket(streamId, nullptr, data + done, part));
        done += part;
    }
    return packets;
}

bool RewritePesPts(uint8_t* packet, size_t size, uint64_t pts90kHz)
{
    if (size < kPesHeaderSizeWithPts || (packet[7] & 0x80) == 0 || packet[8] < 5)
        return false;
    const uint8_t dtsFlag = packet[9] & 0x10;  // keep '0011' when a DTS follows
    PutPts(&packet[9], pts90kHz & 0x1FFFFFFFFull);
    packet[9] = static_cast<uint8_t>(packet[9] | dtsFlag);
    return true;
}

}  // namespace media
