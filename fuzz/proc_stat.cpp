// Processor counter text: whatever the counter file holds. The input is read
// as two successive readings split at the first NUL byte, so the load of one
// interval is worked out from any pair.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/status/CpuLoadSampler.h"
#include "core/status/CpuTicks.h"

namespace {

void CheckTicks(std::string_view text)
{
    const auto ticks = ParseCpuTicks(text);
    if (ticks && ticks->idle > ticks->total)
        std::abort();
}

void CheckLoad(int load)
{
    if (load != CpuLoadSampler::kFailure && (load < 0 || load > 100))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t split = text.find('\0');
    const std::string_view first = text.substr(0, split);
    const std::string_view second = split == std::string_view::npos ? text : text.substr(split + 1);
    CheckTicks(first);
    CheckTicks(second);

    CpuLoadSampler sampler;
    CheckLoad(sampler.Sample(first));
    CheckLoad(sampler.Sample(second));
    CheckLoad(sampler.Sample(first));
    return 0;
}
