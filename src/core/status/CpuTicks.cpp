#include "core/status/CpuTicks.h"

#include <charconv>
#include <vector>

namespace {

constexpr size_t kMinFields = 4;     // user nice system idle
constexpr size_t kSummedFields = 8;  // up to steal
constexpr size_t kIdle = 3;
constexpr size_t kIoWait = 4;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::optional<std::string_view> AggregateLine(std::string_view text)
{
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.size() > 3 && line.substr(0, 3) == "cpu" && IsBlank(line[3]))
            return line.substr(3);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return std::nullopt;
}

std::optional<std::vector<uint64_t>> Fields(std::string_view line)
{
    std::vector<uint64_t> fields;
    size_t at = 0;
    while (true) {
        while (at < line.size() && IsBlank(line[at]))
            ++at;
        if (at == line.size() || line[at] == '\r')
            return fields;
        uint64_t value = 0;
        const char* begin = line.data() + at;
        const char* end = line.data() + line.size();
        auto [next, error] = std::from_chars(begin, end, value);
        if (error != std::errc() || (next != end && !IsBlank(*next) && *next != '\r'))
            return std::nullopt;
        fields.push_back(value);
        at += static_cast<size_t>(next - begin);
    }
}

} // namespace

std::optional<CpuTicks> ParseCpuTicks(std::string_view procStat)
{
    const std::optional<std::string_view> line = AggregateLine(procStat);
    if (!line)
        return std::nullopt;
    const std::optional<std::vector<uint64_t>> fields = Fields(*line);
    if (!fields || fields->size() < kMinFields)
        return std::nullopt;

    CpuTicks ticks;
    for (size_t i = 0; i < fields->size() && i < kSummedFields; ++i) {
        const uint64_t value = (*fields)[i];
        if (__builtin_add_overflow(ticks.total, value, &ticks.total))
            return std::nullopt;
        if ((i == kIdle || i == kIoWait) && __builtin_add_overflow(ticks.idle, value, &ticks.idle))
            return std::nullopt;
    }
    return ticks;
}
