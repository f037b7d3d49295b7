#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/video/PageAlignedBuffer.h"

// Rebuilds whole PES units from the live packets of one session. A packet is
// [fragment count][fragment index][payload]; the fragments of a unit come in
// index order from 0. Video and audio are rebuilt separately, so a fragment of
// one kind arriving in the middle of a unit of the other spoils neither.
//
// Not thread-safe: the session's owner serialises calls.
class LiveReassembler {
public:
    enum class Stream { Video, Audio };

    static constexpr std::size_t kVideoBufferBytes = 1024000;
    // An audio PES packet holds at most 6 + 65535 bytes.
    static constexpr std::size_t kAudioBufferBytes = 6 + 65535;
    static constexpr std::size_t kPacketHeaderBytes = 2;
    // Start code prefix and stream id: the least a unit must hold.
    static constexpr std::size_t kMinUnitBytes = 4;

    struct Unit {
        unsigned char* data;  // in the reassembly buffer; valid until the next fragment of its stream
        std::size_t length;
    };

    // What became of the packets so far.
    struct Counters {
        std::uint64_t units = 0;          // whole units handed out
        std::uint64_t outOfSequence = 0;  // fragments whose index was not the expected one
        std::uint64_t overflowed = 0;     // units dropped because they outgrew the buffer
        std::uint64_t malformed = 0;      // packets too short to hold a header, units too short for a stream id
    };

    LiveReassembler();

    // Takes one packet; returns the unit it completes, if any.
    std::optional<Unit> Add(Stream stream, const unsigned char* packet, std::size_t length);
    // Forgets both partial units.
    void Reset();

    std::uint8_t ExpectedFragment(Stream stream) const { return Part(stream).expected; }
    std::size_t FillLength(Stream stream) const { return Part(stream).fill; }
    const Counters& GetCounters() const { return m_counters; }

private:
    struct Partial {
        explicit Partial(std::size_t capacity) : buffer(capacity) {}
        PageAlignedBuffer buffer;
        std::size_t fill = 0;
        std::uint8_t expected = 0;
        void Drop() { fill = 0; expected = 0; }
    };

    Partial& Part(Stream stream) { return stream == Stream::Video ? m_video : m_audio; }
    const Partial& Part(Stream stream) const { return stream == Stream::Video ? m_video : m_audio; }

    Partial m_video{kVideoBufferBytes};
    Partial m_audio{kAudioBufferBytes};
    Counters m_counters;
};
