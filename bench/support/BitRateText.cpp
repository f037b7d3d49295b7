#include "bench/support/BitRateText.h"

#include <cstdlib>

namespace benchsupport {

long ParseBitRate(const char* text)
{
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (end == text)
        return -1;
    if (*end == 'k' || *end == 'K')
        value *= 1e3, ++end;
    else if (*end == 'M' || *end == 'm')
        value *= 1e6, ++end;
    return *end == '\0' && value >= 1e4 && value <= 1e8 ? static_cast<long>(value) : -1;
}

} // namespace benchsupport
