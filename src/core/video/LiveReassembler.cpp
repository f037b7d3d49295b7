#include "core/video/LiveReassembler.h"

#include <cstring>

LiveReassembler::LiveReassembler() = default;

std::optional<LiveReassembler::Unit> LiveReassembler::Add(Stream stream, const unsigned char* packet,
                                                            std::size_t length)
{
    Partial& part = Part(stream);
    if (packet == nullptr || length < kPacketHeaderBytes) {
        ++m_counters.malformed;
        part.Drop();
        return std::nullopt;
    }
    const std::uint8_t count = packet[0];
    const std::uint8_t index = packet[1];
    if (index != part.expected) {
        ++m_counters.outOfSequence;
        part.Drop();
        return std::nullopt;
    }
    const std::size_t payload = length - kPacketHeaderBytes;
    if (payload > part.buffer.Size() - part.fill) {
        // Never written past the end: the whole unit goes.
        ++m_counters.overflowed;
        part.Drop();
        return std::nullopt;
    }
    std::memcpy(part.buffer.Data() + part.fill, packet + kPacketHeaderBytes, payload);
    part.fill += payload;
    ++part.expected;
    if (part.expected != count)
        return std::nullopt;

    const Unit unit{part.buffer.Data(), part.fill};
    part.Drop();
    if (unit.length < kMinUnitBytes) {
        ++m_counters.malformed;
        return std::nullopt;
    }
    ++m_counters.units;
    return unit;
}

void LiveReassembler::Reset()
{
    m_video.Drop();
    m_audio.Drop();
}
