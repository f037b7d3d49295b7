#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mpegtest {

// An MPEG-2 PES packet around payload, with a PTS when hasPts.
std::vector<uint8_t> Pes(uint8_t streamId, const std::vector<uint8_t>& payload, bool hasPts = true,
                         uint64_t pts = 0);
// The 5-byte PTS field.
void PutPts(uint8_t* p, uint8_t prefix, uint64_t pts);
std::vector<uint8_t> Concat(const std::vector<std::vector<uint8_t>>& parts);

} // namespace mpegtest
