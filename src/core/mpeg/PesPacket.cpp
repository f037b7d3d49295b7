#include "core/mpeg/PesPacket.h"

#include "core/mpeg/StartCode.h"

namespace mpeg {
namespace {

bool Fail(std::string* error, const char* reason)
{
    if (error)
        *error = reason;
    return false;
}

// A 5-byte time stamp field: 4 prefix bits, 33 bits in three parts with markers.
std::optional<uint64_t> ReadTimestamp(const uint8_t* p)
{
    if (!(p[0] & 0x01) || !(p[2] & 0x01) || !(p[4] & 0x01))
        return std::nullopt;
    return (uint64_t(p[0] & 0x0E) << 29) | (uint64_t(p[1]) << 22) | (uint64_t(p[2] & 0xFE) << 14) |
           (uint64_t(p[3]) << 7) | (uint64_t(p[4]) >> 1);
}

// Padding, private stream 2, ECM, EMM, directory, DSM-CC and H.222.1 type E
// packets carry no header extension.
bool HasNoHeaderExtension(uint8_t streamId)
{
    return streamId == kPaddingStreamId || streamId == kPrivateStream2Id || streamId == 0xF0 || streamId == 0xF1 ||
           streamId == 0xF2 || streamId == 0xF8 || streamId == 0xFF;
}

// The MPEG-2 header of the packet in d[0, end). The strict form also wants the
// prefix nibble of each stamp and room for a flagged DTS.
bool ParseMpeg2Header(const uint8_t* d, size_t end, bool strict, PesPacket& pes, std::string* error)
{
    if (end < 9)
        return Fail(error, "PES header runs past the packet");
    const size_t headerLength = d[8];
    const size_t headerEnd = 9 + headerLength;
    if (headerEnd > end)
        return Fail(error, "PES header runs past the packet");
    const unsigned ptsDts = d[7] >> 6;
    if (ptsDts == 1)
        return Fail(error, "DTS without PTS");
    const bool dtsFits = ptsDts == 3 && headerLength >= 10;
    if (ptsDts >= 2) {
        if (headerLength < 5 || (strict && ptsDts == 3 && !dtsFits))
            return Fail(error, "time stamps run past the PES header");
        if (strict && (d[9] >> 4) != ptsDts)
            return Fail(error, "bad PTS prefix");
        auto pts = ReadTimestamp(d + 9);
        if (!pts)
            return Fail(error, "bad PTS marker bits");
        pes.hasPts = true;
        pes.pts = *pts;
    }
    if (dtsFits) {
        auto dts = ReadTimestamp(d + 14);
        const bool sound = dts && (d[14] >> 4) == 1;
        if (strict && !sound)
            return Fail(error, "bad DTS marker bits");
        pes.hasDts = sound;
        pes.dts = sound ? *dts : 0;
    }
    pes.dataAlignment = (d[6] & 0x04) != 0;
    pes.payload = d + headerEnd;
    pes.payloadSize = end - headerEnd;
    return true;
}

bool ParseMpeg1Header(const uint8_t* d, size_t end, PesPacket& pes, std::string* error)
{
    size_t pos = 6;
    for (int stuffing = 0; pos < end && d[pos] == 0xFF; ++pos) {
        if (++stuffing > 16)
            return Fail(error, "too much PES stuffing");
    }
    if (pos < end && (d[pos] & 0xC0) == 0x40)
        pos += 2;  // STD buffer fields
    if (pos >= end)
        return Fail(error, "PES header runs past the packet");
    const uint8_t kind = d[pos] & 0xF0;
    if (kind == 0x20 || kind == 0x30) {
        const size_t fieldEnd = pos + (kind == 0x20 ? 5 : 10);
        if (fieldEnd > end)
            return Fail(error, "time stamps run past the PES header");
        auto pts = ReadTimestamp(d + pos);
        if (!pts)
            return Fail(error, "bad PTS marker bits");
        pes.hasPts = true;
        pes.pts = *pts;
        pos = fieldEnd;
    } else if (d[pos] == 0x0F) {
        ++pos;
    } else {
        return Fail(error, "bad PES header");
    }
    pes.payload = d + pos;
    pes.payloadSize = end - pos;
    return true;
}

bool Parse(const uint8_t* data, size_t size, bool strict, PesPacket& pes, std::string* error)
{
    if (size < 6)
        return Fail(error, "PES packet shorter than its fixed header");
    if (data[0] != 0 || data[1] != 0 || data[2] != 1)
        return Fail(error, "no PES start code");
    if (!IsPesStreamId(data[3]))
        return Fail(error, "stream id is not a PES stream");
    pes.streamId = data[3];
    const size_t length = size_t((data[4] << 8) | data[5]);
    const bool video = (pes.streamId & 0xF0) == kVideoStreamIdBase;
    if (length == 0 && (strict || !video))
        return Fail(error, "unbounded PES length is only allowed for video from a recorder");
    if (length != 0 && 6 + length > size)
        return Fail(error, "PES packet runs past the data");
    pes.size = length == 0 ? size : 6 + length;

    if (HasNoHeaderExtension(pes.streamId)) {
        pes.payload = data + 6;
        pes.payloadSize = pes.size - 6;
        return true;
    }
    const bool mpeg2 = pes.size > 6 && (data[6] & 0xC0) == 0x80;
    if (strict && !mpeg2)
        return Fail(error, "not an MPEG-2 PES header");
    return mpeg2 ? ParseMpeg2Header(data, pes.size, strict, pes, error) : ParseMpeg1Header(data, pes.size, pes, error);
}

std::optional<PesPacket> ParseAs(const uint8_t* data, size_t size, bool strict, std::string* error)
{
    PesPacket pes;
    if (!Parse(data, size, strict, pes, error))
        return std::nullopt;
    return pes;
}

} // namespace

bool IsPesStreamId(uint8_t streamId)
{
    return streamId >= kPrivateStream1Id;
}

std::optional<PesPacket> ParsePesPacket(const uint8_t* data, size_t size, std::string* error)
{
    return ParseAs(data, size, false, error);
}

std::optional<PesPacket> ParseMpeg2PesPacket(const uint8_t* data, size_t size, std::string* error)
{
    return ParseAs(data, size, true, error);
}

} // namespace mpeg
