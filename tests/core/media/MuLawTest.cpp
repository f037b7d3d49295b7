#include <gtest/gtest.h>

#include <cstdlib>

#include "core/media/MuLaw.h"

namespace {

TEST(MuLaw, KnownCodesAndEveryCodeDecodesBackToItself)
{
    EXPECT_EQ(media::LinearToMuLaw(0), 0xFF);
    EXPECT_EQ(media::LinearToMuLaw(32767), 0x80);
    EXPECT_EQ(media::LinearToMuLaw(-32768), 0x00);
    EXPECT_EQ(media::MuLawToLinear(0x80), 32124);
    EXPECT_EQ(media::MuLawToLinear(0x00), -32124);
    EXPECT_EQ(media::MuLawToLinear(0xFF), 0);
    EXPECT_EQ(media::MuLawToLinear(0x7F), 0);
    for (int code = 0; code < 256; ++code) {
        if (code == 0x7F)  // negative zero encodes as positive zero
            continue;
        EXPECT_EQ(media::LinearToMuLaw(media::MuLawToLinear(static_cast<uint8_t>(code))), code) << code;
    }
}

TEST(MuLaw, ErrorStaysWithinTheStepOfTheSegment)
{
    for (int sample = -32768; sample <= 32767; sample += 7) {
        const int back = media::MuLawToLinear(media::LinearToMuLaw(static_cast<int16_t>(sample)));
        // Steps double per segment: 8 at the bottom, 1024 at the top.
        const int allowed = std::abs(sample) < 256 ? 8 : std::abs(sample) / 16 + 8;
        EXPECT_LE(std::abs(back - sample), std::max(allowed, 1100 * (std::abs(sample) > 32000))) << sample;
    }
}

TEST(MuLaw, VolumeScalesAndZeroSilences)
{
    const uint8_t codes[3] = {0x80, 0x00, 0xFF};
    int16_t samples[3];
    media::DecodeMuLaw(codes, 3, 50, samples);
    EXPECT_EQ(samples[0], 16062);
    EXPECT_EQ(samples[1], -16062);
    EXPECT_EQ(samples[2], 0);
    media::DecodeMuLaw(codes, 3, 0, samples);
    EXPECT_EQ(samples[0], 0);
    EXPECT_EQ(samples[1], 0);
}

}  // namespace
