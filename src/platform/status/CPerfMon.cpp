#include "platform/status/CPerfMon.h"

#include <fstream>
#include <utility>

namespace {

// The aggregate line comes first and is far shorter than this; reading no
// more keeps a wrong path (a device, a huge file) from costing anything.
constexpr std::streamsize kReadLimit = 4096;

} // namespace

CPerfMon::CPerfMon(std::string procStatPath) : m_path(std::move(procStatPath)) {}

bool CPerfMon::Open()
{
    const std::optional<std::string> text = read();
    if (!text)
        return false;
    m_sampler.Sample(*text);
    return true;
}

bool CPerfMon::Collect()
{
    const std::optional<std::string> text = read();
    m_value = text ? m_sampler.Sample(*text) : CpuLoadSampler::kFailure;
    if (m_value != CpuLoadSampler::kFailure)
        m_statistics.Add(m_value);
    return text.has_value();
}

std::optional<std::string> CPerfMon::read() const
{
    std::ifstream file(m_path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string text(static_cast<size_t>(kReadLimit), '\0');
    file.read(text.data(), kReadLimit);
    // Nothing read at all (an empty file, a folder) counts as unreadable.
    if (file.bad() || file.gcount() <= 0)
        return std::nullopt;
    text.resize(static_cast<size_t>(file.gcount()));
    return text;
}
