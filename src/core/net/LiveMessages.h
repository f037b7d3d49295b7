#pragma once
// Live media payloads: the client's request, the recorder's answer, and the
// fragments of PES units on TCP (LiveMedia) and UDP (LiveDatagram).

#include "core/net/WireFormat.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace wire {

struct LiveControlMessage {
    uint16_t videoMask = 0;
    uint16_t audioMask = 0;
    uint16_t udpPort = 0;  // 0: media on the control connection
    std::vector<uint8_t> Encode() const;
    static std::optional<LiveControlMessage> Decode(const uint8_t* data, size_t length);
};

struct LiveReplyMessage {
    uint16_t videoMask = 0;
    uint16_t audioMask = 0;
    std::vector<uint8_t> Encode() const;
    static std::optional<LiveReplyMessage> Decode(const uint8_t* data, size_t length);
};

// One fragment. packet points at [count][index][payload...], the bytes the
// client hands to its live callback; packetLength counts them all.
struct LiveFragmentView {
    uint8_t packetType = kPacketVideo;
    uint8_t count = 1;
    uint8_t index = 0;
    const uint8_t* packet = nullptr;
    uint32_t packetLength = 0;
    const uint8_t* Payload() const { return packet + 2; }
    uint32_t PayloadLength() const { return packetLength - 2; }
};

// LiveMedia payload: [type][count][index][payload]. Refuses a packet type
// other than 2/3, count 0, index >= count or an empty fragment payload.
std::optional<LiveFragmentView> DecodeLiveMedia(const uint8_t* data, size_t length);

inline constexpr size_t kLiveMediaPrefix = 3;  // bytes before the fragment payload

// Writes the LiveMedia prefix (3 bytes) to out.
void WriteLiveMediaPrefix(uint8_t* out, uint8_t packetType, uint8_t count, uint8_t index);

// LiveDatagram payload: [token u32][counter u64] in clear, then a LiveMedia
// payload sealed with the session's media key, then the 16-byte tag. The tag
// also covers the clear bytes before the sealed part, frame header included.
inline constexpr size_t kSealedDatagramPrefix = 12;  // token and counter
inline constexpr size_t kMediaTagSize = 16;
inline constexpr size_t kSealedDatagramClear = kHeaderSize + kSealedDatagramPrefix;
// A whole datagram is this much longer than the fragment payload it carries.
inline constexpr size_t kSealedDatagramOverhead = kSealedDatagramClear + kLiveMediaPrefix + kMediaTagSize;
inline constexpr size_t kMinSealedDatagramPayload = kSealedDatagramPrefix + kLiveMediaPrefix + 1 + kMediaTagSize;

struct SealedDatagramView {
    uint32_t token = 0;
    uint64_t counter = 0;
    const uint8_t* sealed = nullptr;  // the sealed LiveMedia payload, then the tag
    size_t sealedLength = 0;          // tag included
};
// Splits a LiveDatagram payload; nullopt when too short to hold one payload byte and the tag.
std::optional<SealedDatagramView> DecodeSealedDatagram(const uint8_t* data, size_t length);
// Writes token and counter (12 bytes) to out.
void WriteSealedDatagramPrefix(uint8_t* out, uint32_t token, uint64_t counter);

// How a unit of unitLength bytes is cut: count fragments of fragmentSize
// bytes, the last one shorter. count 0 for an empty or oversized unit.
struct FragmentPlan {
    uint32_t count = 0;
    uint32_t fragmentSize = 0;
    uint32_t FragmentLength(uint32_t index, uint32_t unitLength) const;
};
FragmentPlan PlanFragments(size_t unitLength);

}  // namespace wire
