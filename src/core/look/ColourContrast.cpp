#include "core/look/ColourContrast.h"

#include <algorithm>
#include <cmath>

namespace {

double LinearChannel(std::uint8_t value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

std::uint8_t MixChannel(std::uint8_t from, std::uint8_t to, double amount)
{
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * amount));
}

} // namespace

double RelativeLuminance(Rgb colour)
{
    return 0.2126 * LinearChannel(colour.r) + 0.7152 * LinearChannel(colour.g) + 0.0722 * LinearChannel(colour.b);
}

double ContrastRatio(Rgb a, Rgb b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb MixColours(Rgb from, Rgb to, double amount)
{
    amount = std::clamp(amount, 0.0, 1.0);
    return {MixChannel(from.r, to.r, amount), MixChannel(from.g, to.g, amount), MixChannel(from.b, to.b, amount)};
}

Rgb WithContrast(Rgb colour, Rgb background, double minimum)
{
    if (ContrastRatio(colour, background) >= minimum)
        return colour;
    const Rgb black{0, 0, 0};
    const Rgb white{255, 255, 255};
    const Rgb extreme = ContrastRatio(white, background) >= ContrastRatio(black, background) ? white : black;
    // The first step on the way to the extreme that reaches the minimum is
    // the nearest such colour that keeps the colour's hue.
    constexpr int kSteps = 256;
    for (int step = 1; step < kSteps; ++step) {
        const Rgb candidate = MixColours(colour, extreme, static_cast<double>(step) / kSteps);
        if (ContrastRatio(candidate, background) >= minimum)
            return candidate;
    }
    return extreme;
}
