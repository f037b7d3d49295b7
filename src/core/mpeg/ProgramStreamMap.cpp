#include "core/mpeg/ProgramStreamMap.h"

#include "core/mpeg/Crc32Mpeg.h"
#include "core/mpeg/StartCode.h"

#include <algorithm>

namespace mpeg {
namespace {

constexpr size_t kEntryDescriptorSize = 4;
constexpr size_t kMapInfoSize = 4;

uint16_t Read16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }

void Write16(uint8_t* p, size_t value)
{
    p[0] = uint8_t(value >> 8);
    p[1] = uint8_t(value);
}

uint8_t SizeInUnits(int pixels)
{
    if (pixels <= 0)
        return 0;
    return uint8_t(std::min(255, (pixels + kPictureSizeUnit - 1) / kPictureSizeUnit));
}

// Our maximum-size descriptor among an entry's descriptors, if present and well formed.
void ReadSizeDescriptor(const uint8_t* p, size_t length, int unit, StreamMapEntry& entry)
{
    size_t i = 0;
    while (i + 2 <= length) {
        const uint8_t tag = p[i];
        const size_t len = p[i + 1];
        if (i + 2 + len > length)
            return;
        if (tag == kMaxPictureSizeDescriptorTag && len == 2) {
            entry.maxWidth = p[i + 2] * unit;
            entry.maxHeight = p[i + 3] * unit;
        }
        i += 2 + len;
    }
}

int ReadSizeUnit(const uint8_t* p, size_t length)
{
    size_t i = 0;
    while (i + 2 <= length) {
        const size_t len = p[i + 1];
        if (i + 2 + len > length)
            break;
        if (p[i] == kSizeUnitDescriptorTag && len == 2)
            return Read16(p + i + 2);
        i += 2 + len;
    }
    return kPictureSizeUnit;
}

} // namespace

void WriteProgramStreamMap(uint8_t* out, const uint8_t* streamTypes, const int* maxWidths, const int* maxHeights,
                           const uint8_t* streamIds)
{
    uint8_t* p = out;
    *p++ = 0x00;
    *p++ = 0x00;
    *p++ = 0x01;
    *p++ = kStreamMapId;
    Write16(p, kStreamMapSize - 6);
    p += 2;
    *p++ = 0x80 | 0x20;  // current_next_indicator, one reserved bit, version 0
    *p++ = 0xFF;         // reserved bits and the marker bit
    Write16(p, kMapInfoSize);
    p += 2;
    *p++ = kSizeUnitDescriptorTag;
    *p++ = 2;
    Write16(p, kPictureSizeUnit);
    p += 2;
    Write16(p, kStreamMapEntries * (4 + kEntryDescriptorSize));
    p += 2;
    for (size_t i = 0; i < kStreamMapEntries; ++i) {
        *p++ = streamTypes[i];
        *p++ = streamIds[i];
        Write16(p, kEntryDescriptorSize);
        p += 2;
        *p++ = kMaxPictureSizeDescriptorTag;
        *p++ = 2;
        *p++ = SizeInUnits(maxWidths[i]);
        *p++ = SizeInUnits(maxHeights[i]);
    }
    const uint32_t crc = Crc32Mpeg(out, size_t(p - out));
    *p++ = uint8_t(crc >> 24);
    *p++ = uint8_t(crc >> 16);
    *p++ = uint8_t(crc >> 8);
    *p++ = uint8_t(crc);
}

std::optional<ProgramStreamMap> ParseProgramStreamMap(const uint8_t* data, size_t size)
{
    if (size < 6 || !HasStartCode(data, size, kStreamMapId))
        return std::nullopt;
    const size_t total = 6 + size_t(Read16(data + 4));
    // Fixed fields (2), two length fields (4) and the CRC (4) at least.
    if (total > size || total < 16)
        return std::nullopt;
    if (Crc32Mpeg(data, total) != 0)
        return std::nullopt;

    ProgramStreamMap map;
    map.size = total;
    map.currentNext = (data[6] & 0x80) != 0;
    map.version = data[6] & 0x1F;
    const size_t crcAt = total - 4;
    size_t pos = 8;
    const size_t infoLength = Read16(data + pos);
    pos += 2;
    if (pos + infoLength + 2 > crcAt)
        return std::nullopt;
    const int unit = ReadSizeUnit(data + pos, infoLength);
    pos += infoLength;
    const size_t esMapLength = Read16(data + pos);
    pos += 2;
    if (pos + esMapLength != crcAt)
        return std::nullopt;
    while (pos < crcAt) {
        if (pos + 4 > crcAt)
            return std::nullopt;
        StreamMapEntry entry;
        entry.streamType = data[pos];
        entry.streamId = data[pos + 1];
        const size_t esInfoLength = Read16(data + pos + 2);
        pos += 4;
        if (pos + esInfoLength > crcAt)
            return std::nullopt;
        ReadSizeDescriptor(data + pos, esInfoLength, unit, entry);
        pos += esInfoLength;
        map.entries.push_back(entry);
    }
    return map;
}

} // namespace mpeg
