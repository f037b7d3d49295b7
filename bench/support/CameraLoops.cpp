#include "bench/support/CameraLoops.h"

#include "core/mpeg/PesPacket.h"

namespace benchsupport {

std::vector<AccessUnit> VideoAccessUnits(const media::MediaLoop& loop)
{
    std::vector<AccessUnit> aus;
    for (const media::MediaUnit& unit : loop.units) {
        const auto pes = mpeg::ParsePesPacket(unit.pes.data(), unit.pes.size());
        if (!pes || (pes->streamId & 0xF0) != 0xE0)
            return {};
        if (pes->hasPts || aus.empty())
            aus.emplace_back();
        aus.back().insert(aus.back().end(), pes->payload, pes->payload + pes->payloadSize);
    }
    return aus;
}

double LoopBitRate(const std::vector<AccessUnit>& loop, int framesPerSecond)
{
    if (loop.empty())
        return 0;
    return 8.0 * static_cast<double>(TotalBytes(loop)) * framesPerSecond / static_cast<double>(loop.size());
}

} // namespace benchsupport
