#include "core/net/UploadName.h"

namespace wire {

std::optional<std::string> CleanUploadName(const std::string& name)
{
    std::string clean = name;
    while (!clean.empty() && (clean.back() == ' ' || clean.back() == '\t'))
        clean.pop_back();
    if (clean.empty() || clean.front() == '.')
        return std::nullopt;
    for (const char c : clean) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '/' || c == '\\')
            return std::nullopt;
    }
    return clean;
}

}  // namespace wire
