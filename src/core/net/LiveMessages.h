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
// LiveDatagram payload: [token u32][type][pad][count][index][payload].
std::optional<LiveFragmentView> DecodeLiveDatagram(const uint8_t* data, size_t length, uint32_t* token);

inline constexpr size_t kLiveMediaPrefix = 3;     // bytes before the fragment payload
inline constexpr size_t kLiveDatagramPrefix = 8;  // bytes before the fragment payload

// Writes the LiveMedia prefix (3 bytes) to out.
void WriteLiveMediaPrefix(uint8_t* out, uint8_t packetType, uint8_t count, uint8_t index);
// Writes the LiveDatagram prefix (8 bytes) to out.
void WriteLiveDatagramPrefix(uint8_t* out, uint32_t token, uint8_t packetType, uint8_t count, uint8_t index);

// How a unit of unitLength bytes is cut: count fragments of fragmentSize
// bytes, the last one shorter. count 0 for an empty or oversized unit.
struct FragmentPlan {
    uint32_t count = 0;
    uint32_t fragmentSize = 0;
    uint32_t FragmentLength(uint32_t index, uint32_t unitLength) const;
};
FragmentPlan PlanFragments(size_t unitLength);

}  // namespace wire
