#pragma once

#include <cstddef>
#include <cstdint>

namespace mpeg {

// A program stream is a sequence of units, each starting with 00 00 01 and a
// code of at least 0xB9: pack header, system header, program stream map, PES
// packet, or the end code.
enum class UnitKind : uint8_t { PackHeader, SystemHeader, StreamMap, Pes, EndCode };

enum class UnitStatus : uint8_t {
    Complete,    // length is the whole unit
    Incomplete,  // the unit continues past the bytes given
    Invalid,     // no unit starts here
};

struct UnitScan {
    UnitStatus status = UnitStatus::Invalid;
    UnitKind kind = UnitKind::Pes;
    size_t length = 0;
};

// Measures the unit that starts at data. A video PES packet of length 0
// (unbounded) runs to the next unit start code; when there is none it takes
// the rest if atEnd is set and is Incomplete otherwise.
UnitScan ScanUnit(const uint8_t* data, size_t size, bool atEnd);

// Walks a buffer of program stream unit by unit, skipping bytes that belong
// to no unit (garbage, damaged units) up to the next unit start code.
class UnitSplitter {
public:
    struct Unit {
        UnitKind kind;
        const uint8_t* data;
        size_t size;
    };

    // atEnd: the buffer ends the stream, so an unbounded packet may end with it.
    UnitSplitter(const uint8_t* data, size_t size, bool atEnd);

    // The next whole unit; false when no further whole unit is in the buffer.
    bool Next(Unit* out);
    // Bytes passed over as garbage so far.
    size_t SkippedBytes() const { return m_skipped; }
    // Offset just after the last whole unit (where an incomplete one begins).
    size_t Position() const { return m_pos; }

private:
    void Skip(size_t to);

    const uint8_t* m_data;
    size_t m_size;
    bool m_atEnd;
    size_t m_pos = 0;
    size_t m_skipped = 0;
};

} // namespace mpeg
