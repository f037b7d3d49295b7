#pragma once

#include <cstdint>

// A colour as eight-bit sRGB channels.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// The least contrast between text and its background that we accept
// anywhere (WCAG AA for normal text).
constexpr double kMinimumTextContrast = 4.5;

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double RelativeLuminance(Rgb colour);

// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double ContrastRatio(Rgb a, Rgb b);

// The colour `amount` of the way from `from` to `to` (0 gives `from`, 1 gives `to`).
Rgb MixColours(Rgb from, Rgb to, double amount);

// `colour` moved towards black or white (whichever contrasts more with
// `background`) just far enough to reach `minimum` against it; unchanged when
// it already does. Black or white itself when nothing short of it reaches it.
Rgb WithContrast(Rgb colour, Rgb background, double minimum = kMinimumTextContrast);
