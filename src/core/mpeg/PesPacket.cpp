#include "core/mpeg/PesPacket.h"

#include "core/mpeg/StartCode.h"

namespace mpeg {
namespace {

// A 5-byte time stamp field: 4 prefix bits, 33 bits in three parts with markers.
std::optional<uint64_t> ReadTimestamp(const uint8_t* p)
{
    if (!(p[0] & 0x01) || !(p[2] & 0x01) || !(p[4] & 0x01))
        return std::nullopt;
    return (uint64_t(p[0] & 0x0E) << 29) | (uint64_t(p[1]) << 22) | (uint64_t(p[2] & 0xFE) << 14) |
           (uint64_t(p[3]) << 7) | (uint64_t(p[4]) >> 1);
}

bool HasNoHeaderExtension(uint8_t streamId)
{
    return streamId == kPaddingStreamId || streamId == kPrivateStream2Id;
}

bool ParseMpeg2Header(const uint8_t* d, size_t end, PesPacket& pes)
{
    if (end < 9)
        return false;
    const size_t headerEnd = 9 + size_t(d[8]);
    if (headerEnd > end)
        return false;
    const unsigned ptsDts = d[7] >> 6;
    if (ptsDts == 1)
        return false;
    if (ptsDts >= 2) {
        if (headerEnd < 14)
            return false;
        auto pts = ReadTimestamp(d + 9);
        if (!pts)
            return false;
        pes.hasPts = true;
        pes.pts = *pts;
    }
    pes.dataAlignment = (d[6] & 0x04) != 0;
    pes.payload = d + headerEnd;
    pes.payloadSize = end - headerEnd;
    return true;
}

bool ParseMpeg1Header(const uint8_t* d, size_t end, PesPacket& pes)
{
    size_t pos = 6;
    for (int stuffing = 0; pos < end && d[pos] == 0xFF; ++pos) {
        if (++stuffing > 16)
            return false;
    }
    if (pos < end && (d[pos] & 0xC0) == 0x40)
        pos += 2;  // STD buffer fields
    if (pos >= end)
        return false;
    const uint8_t kind = d[pos] & 0xF0;
    if (kind == 0x20 || kind == 0x30) {
        const size_t fieldEnd = pos + (kind == 0x20 ? 5 : 10);
        if (fieldEnd > end)
            return false;
        auto pts = ReadTimestamp(d + pos);
        if (!pts)
            return false;
        pes.hasPts = true;
        pes.pts = *pts;
        pos = fieldEnd;
    } else if (d[pos] == 0x0F) {
        ++pos;
    } else {
        return false;
    }
    pes.payload = d + pos;
    pes.payloadSize = end - pos;
    return true;
}

} // namespace

bool IsPesStreamId(uint8_t streamId)
{
    return streamId >= kPrivateStream1Id;
}

std::optional<PesPacket> ParsePesPacket(const uint8_t* data, size_t size)
{
    if (size < 6 || data[0] != 0 || data[1] != 0 || data[2] != 1 || !IsPesStreamId(data[3]))
        return std::nullopt;
    PesPacket pes;
    pes.streamId = data[3];
    const size_t length = size_t((data[4] << 8) | data[5]);
    const bool video = (pes.streamId & 0xF0) == kVideoStreamIdBase;
    if (length == 0 && video)
        pes.size = size;
    else if (length == 0 || 6 + length > size)
        return std::nullopt;
    else
        pes.size = 6 + length;

    if (HasNoHeaderExtension(pes.streamId)) {
        pes.payload = data + 6;
        pes.payloadSize = pes.size - 6;
        return pes;
    }
    const bool ok = (pes.size > 6 && (data[6] & 0xC0) == 0x80) ? ParseMpeg2Header(data, pes.size, pes)
                                                               : ParseMpeg1Header(data, pes.size, pes);
    if (!ok)
        return std::nullopt;
    return pes;
}

} // namespace mpeg
