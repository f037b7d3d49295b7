#include "bench/support/BaselineRun.h"

#include "bench/support/BaselineDecoder.h"
#include "bench/support/ProcessMeter.h"

#include <memory>

namespace benchsupport {

BaselineResult RunBaseline(const std::vector<std::vector<AccessUnit>>& cameras, int pictures, bool inTurn,
                           int paneWidth, int paneHeight)
{
    BaselineResult result;
    const double cpuStart = CpuSeconds();
    std::vector<std::unique_ptr<BaselineDecoder>> decoders;
    for (std::size_t camera = 0; camera < cameras.size(); ++camera)
        decoders.push_back(std::make_unique<BaselineDecoder>(paneWidth, paneHeight));
    auto decode = [&](std::size_t camera, int picture) {
        const std::vector<AccessUnit>& loop = cameras[camera];
        if (loop.empty())
            return;
        const AccessUnit& au = loop[static_cast<std::size_t>(picture) % loop.size()];
        result.pictures += decoders[camera]->Decode(au.data(), au.size());
    };
    if (inTurn) {
        for (int picture = 0; picture < pictures; ++picture)
            for (std::size_t camera = 0; camera < cameras.size(); ++camera)
                decode(camera, picture);
    } else {
        for (std::size_t camera = 0; camera < cameras.size(); ++camera)
            for (int picture = 0; picture < pictures; ++picture)
                decode(camera, picture);
    }
    for (auto& decoder : decoders)
        result.pictures += decoder->Flush();
    decoders.clear();
    result.cpuSeconds = CpuSeconds() - cpuStart;
    return result;
}

} // namespace benchsupport
