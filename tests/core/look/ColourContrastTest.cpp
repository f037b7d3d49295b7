#include <gtest/gtest.h>

#include "core/look/ColourContrast.h"

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

TEST(ColourContrast, LuminanceAndRatioFollowTheSrgbFormula)
{
    EXPECT_DOUBLE_EQ(RelativeLuminance(kBlack), 0.0);
    EXPECT_NEAR(RelativeLuminance(kWhite), 1.0, 1e-9);
    // Green weighs most, blue least; mid grey is far below half.
    EXPECT_GT(RelativeLuminance({0, 255, 0}), RelativeLuminance({255, 0, 0}));
    EXPECT_GT(RelativeLuminance({255, 0, 0}), RelativeLuminance({0, 0, 255}));
    EXPECT_NEAR(RelativeLuminance({128, 128, 128}), 0.2159, 1e-4);

    EXPECT_NEAR(ContrastRatio(kBlack, kWhite), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(kWhite, kBlack), 21.0, 1e-9);
    EXPECT_DOUBLE_EQ(ContrastRatio({90, 90, 90}, {90, 90, 90}), 1.0);
    // The unreadable message box: light grey text on the light grey box.
    EXPECT_LT(ContrastRatio({200, 204, 212}, {239, 239, 239}), 1.5);
    EXPECT_NEAR(ContrastRatio({118, 118, 118}, kWhite), 4.54, 0.01);
}

TEST(ColourContrast, WithContrastMovesOnlyAsFarAsNeeded)
{
    const Rgb background{27, 29, 34};
    const Rgb readable{200, 204, 212};
    EXPECT_EQ(WithContrast(readable, background), readable);

    const Rgb dimGrey{70, 74, 80};
    const Rgb lifted = WithContrast(dimGrey, background);
    EXPECT_GE(ContrastRatio(lifted, background), kMinimumTextContrast);
    EXPECT_LT(ContrastRatio(lifted, background), kMinimumTextContrast + 0.3) << "lifted further than needed";
    EXPECT_GT(lifted.r, dimGrey.r);

    // On a light background a grey goes darker.
    const Rgb darkened = WithContrast({160, 160, 160}, kWhite);
    EXPECT_GE(ContrastRatio(darkened, kWhite), kMinimumTextContrast);
    EXPECT_LT(darkened.r, 160);

    // A mid grey cannot reach 7:1 against anything but the extreme itself.
    EXPECT_EQ(WithContrast({119, 119, 119}, {119, 119, 119}, 21.0), kBlack);
}

TEST(ColourContrast, MixGoesFromOneColourToTheOther)
{
    EXPECT_EQ(MixColours(kBlack, kWhite, 0.0), kBlack);
    EXPECT_EQ(MixColours(kBlack, kWhite, 1.0), kWhite);
    EXPECT_EQ(MixColours(kBlack, kWhite, 0.5), (Rgb{128, 128, 128}));
    EXPECT_EQ(MixColours(kBlack, kWhite, 7.0), kWhite);
}

} // namespace
