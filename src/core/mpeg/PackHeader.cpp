#include "core/mpeg/PackHeader.h"

#include "core/mpeg/StartCode.h"

namespace mpeg {

void WritePackHeader(uint8_t* out, uint64_t scrBase, uint32_t muxRate)
{
    const uint64_t scr = scrBase & 0x1FFFFFFFFull;
    const uint32_t rate = muxRate & 0x3FFFFF;
    out[0] = 0x00;
    out[1] = 0x00;
    out[2] = 0x01;
    out[3] = kPackStartCode;
    // '01', SCR base with marker bits between its three parts, extension 0.
    out[4] = uint8_t(0x40 | ((scr >> 27) & 0x38) | 0x04 | ((scr >> 28) & 0x03));
    out[5] = uint8_t(scr >> 20);
    out[6] = uint8_t(((scr >> 12) & 0xF8) | 0x04 | ((scr >> 13) & 0x03));
    out[7] = uint8_t(scr >> 5);
    out[8] = uint8_t(((scr << 3) & 0xF8) | 0x04);
    out[9] = 0x01;
    out[10] = uint8_t(rate >> 14);
    out[11] = uint8_t(rate >> 6);
    out[12] = uint8_t(((rate << 2) & 0xFC) | 0x03);
    out[13] = 0xF8 | 0x02;  // reserved bits, two stuffing bytes
    out[14] = 0xFF;
    out[15] = 0xFF;
}

namespace {

std::optional<PackHeaderInfo> ParseMpeg2(const uint8_t* d, size_t size)
{
    if (size < 14)
        return std::nullopt;
    const bool markers = (d[4] & 0x04) && (d[6] & 0x04) && (d[8] & 0x04) && (d[9] & 0x01) &&
                         (d[12] & 0x03) == 0x03;
    if (!markers)
        return std::nullopt;
    PackHeaderInfo info;
    info.scrBase = (uint64_t(d[4] & 0x38) << 27) | (uint64_t(d[4] & 0x03) << 28) | (uint64_t(d[5]) << 20) |
                   (uint64_t(d[6] & 0xF8) << 12) | (uint64_t(d[6] & 0x03) << 13) | (uint64_t(d[7]) << 5) |
                   (uint64_t(d[8]) >> 3);
    info.scrExtension = uint16_t(((d[8] & 0x03) << 7) | (d[9] >> 1));
    info.muxRate = (uint32_t(d[10]) << 14) | (uint32_t(d[11]) << 6) | (uint32_t(d[12]) >> 2);
    info.size = 14 + (d[13] & 0x07);
    if (info.size > size)
        return std::nullopt;
    return info;
}

std::optional<PackHeaderInfo> ParseMpeg1(const uint8_t* d, size_t size)
{
    if (size < 12)
        return std::nullopt;
    const bool markers = (d[4] & 0x01) && (d[6] & 0x01) && (d[8] & 0x01) && (d[9] & 0x80) && (d[11] & 0x01);
    if (!markers)
        return std::nullopt;
    PackHeaderInfo info;
    info.mpeg1 = true;
    info.scrBase = (uint64_t(d[4] & 0x0E) << 29) | (uint64_t(d[5]) << 22) | (uint64_t(d[6] & 0xFE) << 14) |
                   (uint64_t(d[7]) << 7) | (uint64_t(d[8]) >> 1);
    info.muxRate = ((uint32_t(d[9]) & 0x7F) << 15) | (uint32_t(d[10]) << 7) | (uint32_t(d[11]) >> 1);
    info.size = 12;
    return info;
}

} // namespace

std::optional<PackHeaderInfo> ParsePackHeader(const uint8_t* data, size_t size)
{
    if (size < 5 || !HasStartCode(data, size, kPackStartCode))
        return std::nullopt;
    if ((data[4] & 0xC0) == 0x40)
        return ParseMpeg2(data, size);
    if ((data[4] & 0xF0) == 0x20)
        return ParseMpeg1(data, size);
    return std::nullopt;
}

} // namespace mpeg
