#include "core/media/PesParser.h"

namespace media {
namespace {

bool Fail(std::string* error, const char* reason)
{
    if (error)
        *error = reason;
    return false;
}

// Stream ids whose packets carry no optional header: program stream map,
// padding, private stream 2, ECM, EMM, directory, DSM-CC, H.222.1 type E.
bool HasNoOptionalHeader(uint8_t id)
{
    return id == 0xBC || id == 0xBE || id == 0xBF || id == 0xF0 || id == 0xF1 || id == 0xFF || id == 0xF2 ||
           id == 0xF8;
}

// A 33-bit time stamp with its three marker bits; prefix is the top nibble.
bool ReadTimeStamp(const uint8_t* p, uint8_t prefix, uint64_t* out)
{
    if ((p[0] >> 4) != prefix || (p[0] & 1) == 0 || (p[2] & 1) == 0 || (p[4] & 1) == 0)
        return false;
    *out = (uint64_t{p[0] & 0x0Eu} << 29) | (uint64_t{p[1]} << 22) | (uint64_t{p[2] & 0xFEu} << 14) |
           (uint64_t{p[3]} << 7) | (uint64_t{p[4]} >> 1);
    return true;
}

}  // namespace

bool ParsePesPacket(const uint8_t* data, size_t size, PesPacketView* out, std::string* error)
{
    if (size < 6)
        return Fail(error, "PES packet shorter than its fixed header");
    if (data[0] != 0 || data[1] != 0 || data[2] != 1)
        return Fail(error, "no PES start code");
    PesPacketView view;
    view.streamId = data[3];
    if (view.streamId < 0xBC)
        return Fail(error, "stream id is not a PES stream");
    const size_t length = (size_t{data[4]} << 8) | data[5];
    if (length == 0)
        return Fail(error, "unbounded PES length is not allowed in a program stream");
    view.packetSize = 6 + length;
    if (view.packetSize > size)
        return Fail(error, "PES packet runs past the data");
    size_t payloadStart = 6;
    if (!HasNoOptionalHeader(view.streamId)) {
        if (length < 3)
            return Fail(error, "PES header runs past the packet");
        if ((data[6] & 0xC0) != 0x80)
            return Fail(error, "not an MPEG-2 PES header");
        view.dataAlignment = (data[6] & 0x04) != 0;
        const uint8_t ptsDts = data[7] >> 6;
        const size_t headerDataLength = data[8];
        payloadStart = 9 + headerDataLength;
        if (payloadStart > view.packetSize)
            return Fail(error, "PES header runs past the packet");
        if (ptsDts == 1)
            return Fail(error, "DTS without PTS");
        const size_t stampBytes = ptsDts == 3 ? 10 : ptsDts == 2 ? 5 : 0;
        if (stampBytes > headerDataLength)
            return Fail(error, "time stamps run past the PES header");
        if (ptsDts >= 2) {
            view.hasPts = true;
            if (!ReadTimeStamp(&data[9], ptsDts == 3 ? 3 : 2, &view.pts))
                return Fail(error, "bad PTS marker bits");
        }
        if (ptsDts == 3) {
            view.hasDts = true;
            if (!ReadTimeStamp(&data[14], 1, &view.dts))
                return Fail(error, "bad DTS marker bits");
        }
    }
    view.payload = data + payloadStart;
    view.payloadSize = view.packetSize - payloadStart;
    *out = view;
    return true;
}

}  // namespace media
