#include "MpegTestBytes.h"

namespace mpegtest {

void PutPts(uint8_t* p, uint8_t prefix, uint64_t pts)
{
    p[0] = uint8_t((prefix << 4) | ((pts >> 29) & 0x0E) | 1);
    p[1] = uint8_t(pts >> 22);
    p[2] = uint8_t(((pts >> 14) & 0xFE) | 1);
    p[3] = uint8_t(pts >> 7);
    p[4] = uint8_t(((pts << 1) & 0xFE) | 1);
}

std::vector<uint8_t> Pes(uint8_t streamId, const std::vector<uint8_t>& payload, bool hasPts, uint64_t pts)
{
    std::vector<uint8_t> pes = {0x00, 0x00, 0x01, streamId, 0, 0, 0x84, uint8_t(hasPts ? 0x80 : 0x00),
                                uint8_t(hasPts ? 5 : 0)};
    if (hasPts) {
        pes.resize(14);
        PutPts(pes.data() + 9, 0x2, pts);
    }
    pes.insert(pes.end(), payload.begin(), payload.end());
    const size_t length = pes.size() - 6;
    pes[4] = uint8_t(length >> 8);
    pes[5] = uint8_t(length);
    return pes;
}

std::vector<uint8_t> Concat(const std::vector<std::vector<uint8_t>>& parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace mpegtest
