#include "core/mpeg/ElementaryStreamProbe.h"
#include "core/mpeg/StreamType.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using mpeg::VideoCodec;

VideoCodec Probe(const std::vector<uint8_t>& b) { return mpeg::ProbeVideoCodec(b.data(), b.size()); }
bool Key(VideoCodec c, const std::vector<uint8_t>& b) { return mpeg::ContainsKeyframe(c, b.data(), b.size()); }

// H.264 access units as x264 writes them: AUD, SPS (High profile), PPS, IDR; then a P slice.
const std::vector<uint8_t> kH264Idr = {0, 0, 0, 1, 0x09, 0xF0, 0, 0, 0, 1, 0x67, 0x64, 0x00, 0x1E, 0xAC,
                                       0, 0, 0, 1, 0x68, 0xEB, 0xE3, 0, 0, 1, 0x65, 0x88, 0x84};
const std::vector<uint8_t> kH264P = {0, 0, 0, 1, 0x09, 0x30, 0, 0, 1, 0x41, 0x9A, 0x02};
// MPEG-4 Part 2: VOS, VO, VOL, then an I-VOP; then a P-VOP.
const std::vector<uint8_t> kMpeg4I = {0, 0, 1, 0xB0, 0x01, 0, 0, 1, 0xB5, 0x89, 0, 0, 1, 0x00,
                                      0, 0, 1, 0x20, 0x00, 0xC4, 0, 0, 1, 0xB6, 0x10, 0x60};
const std::vector<uint8_t> kMpeg4P = {0, 0, 1, 0xB6, 0x50, 0x60, 0x12};

TEST(ElementaryStreamProbe, TellsH264AndMpeg4FromTheirHeadersAndOtherwiseStaysUndecided)
{
    EXPECT_EQ(Probe(kH264Idr), VideoCodec::H264);
    EXPECT_EQ(Probe(kMpeg4I), VideoCodec::Mpeg4Part2);
    EXPECT_EQ(Probe(kMpeg4P), VideoCodec::Mpeg4Part2);
    EXPECT_EQ(Probe(kH264P), VideoCodec::Unknown);
    EXPECT_EQ(Probe({}), VideoCodec::Unknown);
    EXPECT_EQ(Probe({0x67, 0x64, 0x00}), VideoCodec::Unknown);  // no start code
    // A VOL start code 0x27 with no profile behind it is not taken for an SPS.
    EXPECT_EQ(Probe({0, 0, 1, 0x27, 0x05}), VideoCodec::Unknown);
    // The start code is the last byte: nothing to read after it.
    EXPECT_EQ(Probe({0, 0, 1, 0x67}), VideoCodec::Unknown);
}

TEST(ElementaryStreamProbe, FindsKeyframesOfEachCodec)
{
    EXPECT_TRUE(Key(VideoCodec::H264, kH264Idr));
    EXPECT_FALSE(Key(VideoCodec::H264, kH264P));
    EXPECT_TRUE(Key(VideoCodec::Mpeg4Part2, kMpeg4I));
    EXPECT_FALSE(Key(VideoCodec::Mpeg4Part2, kMpeg4P));
    EXPECT_TRUE(Key(VideoCodec::Mpeg4Part2, {0, 0, 1, 0xB6, 0x00}));   // a lone I-VOP
    EXPECT_FALSE(Key(VideoCodec::Mpeg4Part2, {0, 0, 1, 0xB6}));        // VOP type cut off
    EXPECT_TRUE(Key(VideoCodec::Unknown, kH264Idr));
    EXPECT_TRUE(Key(VideoCodec::Unknown, kMpeg4I));
    EXPECT_FALSE(Key(VideoCodec::Unknown, kH264P));
}

TEST(StreamType, NamesTheRecorderAndStandardVideoTypes)
{
    EXPECT_EQ(mpeg::VideoCodecForStreamType(0x84), VideoCodec::H264);
    EXPECT_EQ(mpeg::VideoCodecForStreamType(0x10), VideoCodec::Mpeg4Part2);
    EXPECT_EQ(mpeg::VideoCodecForStreamType(0x91), VideoCodec::Unknown); // the audio type
}

} // namespace
