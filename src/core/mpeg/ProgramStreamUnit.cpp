#include "core/mpeg/ProgramStreamUnit.h"

#include "core/mpeg/PackHeader.h"
#include "core/mpeg/StartCode.h"

#include <algorithm>

namespace mpeg {
namespace {

UnitScan Make(UnitStatus status, UnitKind kind, size_t length)
{
    UnitScan scan;
    scan.status = status;
    scan.kind = kind;
    scan.length = length;
    return scan;
}

UnitScan ScanPackHeader(const uint8_t* data, size_t size)
{
    if (size < 5)
        return Make(UnitStatus::Incomplete, UnitKind::PackHeader, 0);
    const bool mpeg2 = (data[4] & 0xC0) == 0x40;
    const size_t fixed = mpeg2 ? 14 : 12;
    if (!mpeg2 && (data[4] & 0xF0) != 0x20)
        return Make(UnitStatus::Invalid, UnitKind::PackHeader, 0);
    if (size < fixed)
        return Make(UnitStatus::Incomplete, UnitKind::PackHeader, 0);
    const size_t length = mpeg2 ? fixed + (data[13] & 0x07) : fixed;
    if (size < length)
        return Make(UnitStatus::Incomplete, UnitKind::PackHeader, 0);
    if (!ParsePackHeader(data, length))
        return Make(UnitStatus::Invalid, UnitKind::PackHeader, 0);
    return Make(UnitStatus::Complete, UnitKind::PackHeader, length);
}

UnitKind KindOfLengthPrefixed(uint8_t code)
{
    if (code == kSystemHeaderCode)
        return UnitKind::SystemHeader;
    if (code == kStreamMapId)
        return UnitKind::StreamMap;
    return UnitKind::Pes;
}

} // namespace

UnitScan ScanUnit(const uint8_t* data, size_t size, bool atEnd)
{
    if (size < 4)
        return Make(atEnd ? UnitStatus::Invalid : UnitStatus::Incomplete, UnitKind::Pes, 0);
    if (data[0] != 0 || data[1] != 0 || data[2] != 1 || data[3] < kEndCode)
        return Make(UnitStatus::Invalid, UnitKind::Pes, 0);
    const uint8_t code = data[3];
    UnitScan scan;
    if (code == kEndCode) {
        scan = Make(UnitStatus::Complete, UnitKind::EndCode, 4);
    } else if (code == kPackStartCode) {
        scan = ScanPackHeader(data, size);
    } else if (size < 6) {
        scan = Make(UnitStatus::Incomplete, KindOfLengthPrefixed(code), 0);
    } else {
        const size_t length = size_t((data[4] << 8) | data[5]);
        const UnitKind kind = KindOfLengthPrefixed(code);
        if (length > 0) {
            scan = 6 + length <= size ? Make(UnitStatus::Complete, kind, 6 + length)
                                      : Make(UnitStatus::Incomplete, kind, 0);
        } else if ((code & 0xF0) != kVideoStreamIdBase) {
            scan = Make(UnitStatus::Invalid, kind, 0);
        } else {
            const size_t next = FindStartCode(data, size, 6, kEndCode);
            if (next < size)
                scan = Make(UnitStatus::Complete, kind, next);
            else
                scan = atEnd ? Make(UnitStatus::Complete, kind, size) : Make(UnitStatus::Incomplete, kind, 0);
        }
    }
    if (scan.status == UnitStatus::Incomplete && atEnd)
        scan.status = UnitStatus::Invalid;
    return scan;
}

UnitSplitter::UnitSplitter(const uint8_t* data, size_t size, bool atEnd)
    : m_data(data), m_size(data ? size : 0), m_atEnd(atEnd)
{
}

bool UnitSplitter::Next(Unit* out)
{
    size_t at = m_pos;
    while (at < m_size) {
        const size_t start = FindStartCode(m_data, m_size, at, kEndCode);
        if (start >= m_size) {
            // Keep the last three bytes: they may begin a start code.
            const size_t keep = m_atEnd ? 0 : std::min<size_t>(3, m_size - m_pos);
            Skip(m_size - keep);
            return false;
        }
        const UnitScan scan = ScanUnit(m_data + start, m_size - start, m_atEnd);
        if (scan.status == UnitStatus::Incomplete) {
            Skip(start);
            return false;
        }
        if (scan.status == UnitStatus::Invalid) {
            at = start + 1;
            continue;
        }
        Skip(start);
        out->kind = scan.kind;
        out->data = m_data + start;
        out->size = scan.length;
        m_pos = start + scan.length;
        return true;
    }
    return false;
}

void UnitSplitter::Skip(size_t to)
{
    m_skipped += to - m_pos;
    m_pos = to;
}

} // namespace mpeg
