#include "bench/support/BaselineRun.h"

#include "bench/support/BaselineDecoder.h"
#include "bench/support/ProcessMeter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

namespace benchsupport {

BaselineResult RunBaseline(const std::vector<std::vector<AccessUnit>>& cameras, int pictures, BaselineOrder order,
                           int paneWidth, int paneHeight, int framesPerSecond)
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
    if (order == BaselineOrder::Sequential) {
        for (std::size_t camera = 0; camera < cameras.size(); ++camera)
            for (int picture = 0; picture < pictures; ++picture)
                decode(camera, picture);
    } else {
        const auto period = std::chrono::microseconds(1000000 / framesPerSecond);
        auto next = std::chrono::steady_clock::now();
        for (int picture = 0; picture < pictures; ++picture) {
            for (std::size_t camera = 0; camera < cameras.size(); ++camera)
                decode(camera, picture);
            if (order == BaselineOrder::Paced) {
                next += period;
                std::this_thread::sleep_until(next);
            }
        }
    }
    for (auto& decoder : decoders)
        result.pictures += decoder->Flush();
    decoders.clear();
    result.cpuSeconds = CpuSeconds() - cpuStart;
    return result;
}

BaselineSet RunBaselines(const std::vector<std::vector<AccessUnit>>& cameras, int pictures, int paneWidth,
                         int paneHeight, int framesPerSecond)
{
    BaselineSet set;
    set.sequential = RunBaseline(cameras, pictures, BaselineOrder::Sequential, paneWidth, paneHeight);
    set.inTurn = RunBaseline(cameras, pictures, BaselineOrder::InTurn, paneWidth, paneHeight);
    set.paced = RunBaseline(cameras, pictures, BaselineOrder::Paced, paneWidth, paneHeight, framesPerSecond);
    return set;
}

BaselineRatios PrintBaselineRatios(const char* path, double msPerPicture, const BaselineSet& before,
                                   const BaselineSet& after, int paneWidth, int paneHeight)
{
    BaselineRatios ratios;
    struct Row {
        const char* name;
        const BaselineResult& before;
        const BaselineResult& after;
        double* ratio;
    };
    const Row rows[] = {
        {"camera after camera", before.sequential, after.sequential, &ratios.sequential},
        {"cameras in turn", before.inTurn, after.inTurn, &ratios.inTurn},
        {"in turn at the live rate", before.paced, after.paced, &ratios.paced},
    };
    std::printf("baseline, libavcodec decode + swscale to %dx%d, ms cpu per picture before / after the %s:\n",
                paneWidth, paneHeight, path);
    for (const Row& row : rows) {
        const double mean = (row.before.MsPerPicture() + row.after.MsPerPicture()) / 2;
        std::printf("  %-26s %.3f / %.3f", row.name, row.before.MsPerPicture(), row.after.MsPerPicture());
        if (mean > 0) {
            *row.ratio = msPerPicture / mean;
            std::printf("   ratio %s/baseline %.2f", path, *row.ratio);
        }
        std::printf("\n");
    }
    return ratios;
}

void PrintMedianRatios(const char* path, const std::vector<BaselineRatios>& rounds)
{
    auto median = [&](double BaselineRatios::*field) {
        std::vector<double> values;
        for (const BaselineRatios& round : rounds)
            values.push_back(round.*field);
        std::sort(values.begin(), values.end());
        if (values.empty())
            return 0.0;
        const std::size_t middle = values.size() / 2;
        return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    };
    std::printf("median ratio %s/baseline over %zu rounds: %.2f camera after camera, %.2f cameras in turn, %.2f in "
                "turn at the live rate\n",
                path, rounds.size(), median(&BaselineRatios::sequential), median(&BaselineRatios::inTurn),
                median(&BaselineRatios::paced));
}

} // namespace benchsupport
