#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Wraps encoded access units (H.264 Annex B pictures, G.711 sample blocks)
// into MPEG-2 PES packets for a program stream.

namespace media {

constexpr uint8_t kVideoStreamIdBase = 0xE0;  // + stream number 0..15
constexpr uint8_t kAudioStreamIdBase = 0xC0;  // + stream number 0..15

// Bytes before the payload of a packet that carries a PTS: start code and
// stream id (4), PES_packet_length (2), flags (2), header_data_length (1), PTS (5).
constexpr size_t kPesHeaderSizeWithPts = 14;
// PES_packet_length counts everything after itself and is 16 bits wide.
constexpr size_t kMaxPesPayloadWithPts = 0xFFFF - (kPesHeaderSizeWithPts - 6);
constexpr size_t kMaxPesPayloadWithoutPts = 0xFFFF - 3;

constexpr uint64_t MillisecondsToPts(uint32_t ms) { return uint64_t{ms} * 90; }

// One or more PES packets for one access unit. The first carries the PTS and
// the data-alignment flag. A length of 0 ("unbounded") is allowed only in
// transport streams, so a unit too large for one packet continues in further
// packets of the same stream id without a PTS.
std::vector<std::vector<uint8_t>> PacketizeAccessUnit(uint8_t streamId, uint64_t pts90kHz,
                                                      const uint8_t* data, size_t size);

// Replaces the PTS of a packet made by PacketizeAccessUnit in place (a
// sender restamps looped units so time keeps running). False, and nothing
// changed, when the packet carries no PTS.
bool RewritePesPts(uint8_t* packet, size_t size, uint64_t pts90kHz);

}  // namespace media
