#include "VariedStream.h"

#include "platform/decoder/ParameterSetBudget.h"
#include "platform/decoder/VideoFrameDecoder.h"

extern "C" {
#include <libavutil/frame.h>
}

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Join(const std::vector<Bytes>& parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The bytes the decoder is given, runs joined.
Bytes Taken(const std::vector<ParameterSetBudget::Run>& runs)
{
    Bytes all;
    for (const auto& run : runs)
        all.insert(all.end(), run.data, run.data + run.size);
    return all;
}

TEST(ParameterSetBudget, PassesSetsUnderKnownIdsAndNewOnesUpToTheLimitUntouched)
{
    ParameterSetBudget budget;
    std::vector<Bytes> parts{livemem::SequenceSetHead(0)};
    for (unsigned id = 0; id < ParameterSetBudget::kMaxPictureSets; ++id)
        parts.push_back(livemem::PictureParameterSet(id * 30));
    parts.push_back(livemem::SliceHead(0));
    parts.push_back(livemem::PictureParameterSet(0));  // again: no new id
    const Bytes unit = Join(parts);
    std::vector<ParameterSetBudget::Run> runs;
    budget.Plan(unit.data(), unit.size(), &runs);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_FALSE(runs[0].reopenFirst);
    EXPECT_EQ(Taken(runs), unit);
    EXPECT_EQ(budget.PictureSetsTaken(), ParameterSetBudget::kMaxPictureSets);
}

TEST(ParameterSetBudget, OneIdTooManyReplacesTheDecoderPrimedWithTheSetsInUseThenDropsTheRest)
{
    ParameterSetBudget budget;
    std::vector<Bytes> first{livemem::SequenceSetHead(0)};
    for (unsigned id = 0; id < ParameterSetBudget::kMaxPictureSets; ++id)
        first.push_back(livemem::PictureParameterSet(id));
    first.push_back(livemem::SliceHead(2));  // set 2 is in use
    const Bytes setUp = Join(first);
    std::vector<ParameterSetBudget::Run> runs;
    budget.Plan(setUp.data(), setUp.size(), &runs);

    const Bytes lead = livemem::SliceHead(2);
    std::vector<Bytes> flood{lead};
    for (unsigned id = 100; id < 120; ++id)
        flood.push_back(livemem::PictureParameterSet(id));
    const Bytes unit = Join(flood);
    budget.Plan(unit.data(), unit.size(), &runs);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_FALSE(runs[0].reopenFirst);
    EXPECT_EQ(Taken({runs[0]}), lead);
    EXPECT_TRUE(runs[1].reopenFirst);
    EXPECT_LE(budget.PictureSetsTaken(), ParameterSetBudget::kMaxPictureSets);
    // The fresh decoder gets the sequence set and the newest picture sets,
    // the one the slices use among them.
    const Bytes priming = budget.Priming();
    const Bytes expected = Join({livemem::SequenceSetHead(0), livemem::PictureParameterSet(5),
                                 livemem::PictureParameterSet(6), livemem::PictureParameterSet(7),
                                 livemem::PictureParameterSet(2)});
    EXPECT_EQ(priming, expected);
    // It takes the new set that asked for it and those that fit after the
    // priming ones; the later ones of this unit are dropped.
    const std::size_t fit = ParameterSetBudget::kMaxPictureSets - ParameterSetBudget::kPrimingSets;
    std::vector<Bytes> kept;
    for (unsigned id = 100; id < 100 + fit; ++id)
        kept.push_back(livemem::PictureParameterSet(id));
    EXPECT_EQ(Taken({runs[1]}), Join(kept));
}

TEST(ParameterSetBudget, DropsSetsWhoseIdCannotBeReadOrIsOutOfRange)
{
    ParameterSetBudget budget;
    const Bytes cut{0, 0, 1, 0x68};                   // no payload
    const Bytes outOfRange = livemem::PictureParameterSet(300);
    const Bytes slice = livemem::SliceHead(0);
    const Bytes unit = Join({cut, slice, outOfRange, slice});
    std::vector<ParameterSetBudget::Run> runs;
    budget.Plan(unit.data(), unit.size(), &runs);
    EXPECT_EQ(Taken(runs), Join({slice, slice}));
    EXPECT_EQ(budget.PictureSetsTaken(), 0u);
}

// A real stream that brings twenty new picture set ids before each keyframe
// still decodes every picture: the budget keeps the decoder's sets bounded
// without losing the ones in use.
TEST(ParameterSetBudget, AStreamFloodingNewIdsAtItsKeyframesStillDecodesEveryPicture)
{
    const livemem::Clip clip = livemem::EncodeClip("h264", "libx264", 352, 288, false, 30);
    VideoFrameDecoder decoder;
    ASSERT_TRUE(decoder.Open(mpeg::VideoCodec::H264));
    int pictures = 0;
    const FrameSink count = [&](const AVFrame*) { ++pictures; };
    unsigned nextId = 1;
    for (const livemem::Picture& picture : clip.pictures) {
        Bytes unit;
        if (picture.keyframe && &picture != &clip.pictures.front()) {
            for (int i = 0; i < 20; ++i) {
                const Bytes set = livemem::PictureParameterSet(nextId++ % 256);
                unit.insert(unit.end(), set.begin(), set.end());
            }
        }
        unit.insert(unit.end(), picture.data.begin(), picture.data.end());
        decoder.Decode(unit.data(), unit.size(), VideoFrameDecoder::kNoPts, count);
    }
    decoder.Restart(count);
    EXPECT_EQ(pictures, int(clip.pictures.size()));
}

} // namespace
