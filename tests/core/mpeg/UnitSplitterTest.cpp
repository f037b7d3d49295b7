#include "MpegTestBytes.h"

#include "core/mpeg/PackHeader.h"
#include "core/mpeg/ProgramStreamUnit.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using mpeg::UnitKind;
using mpegtest::Concat;
using mpegtest::Pes;

std::vector<uint8_t> PackHeader()
{
    std::vector<uint8_t> header(16);
    mpeg::WritePackHeader(header.data());
    return header;
}

const std::vector<uint8_t> kSystemHeader = {0x00, 0x00, 0x01, 0xBB, 0x00, 0x06, 0x80, 0xC3, 0x51, 0x04, 0xE1, 0xFF};
const std::vector<uint8_t> kPadding = {0x00, 0x00, 0x01, 0xBE, 0x00, 0x04, 0xFF, 0xFF, 0xFF, 0xFF};
const std::vector<uint8_t> kEnd = {0x00, 0x00, 0x01, 0xB9};

struct Seen {
    UnitKind kind;
    size_t offset;
    size_t size;
};

std::vector<Seen> Split(const std::vector<uint8_t>& bytes, bool atEnd, size_t* skipped = nullptr)
{
    mpeg::UnitSplitter splitter(bytes.data(), bytes.size(), atEnd);
    std::vector<Seen> seen;
    mpeg::UnitSplitter::Unit unit{};
    while (splitter.Next(&unit))
        seen.push_back({unit.kind, size_t(unit.data - bytes.data()), unit.size});
    if (skipped)
        *skipped = splitter.SkippedBytes();
    return seen;
}

TEST(UnitSplitter, SplitsAForeignProgramStreamIntoItsUnits)
{
    const auto video = Pes(0xE0, {0, 0, 1, 0x65, 0x88, 0, 0, 1, 0x41});  // start codes inside the payload
    const auto privateStream = Pes(0xBD, {0x80, 1, 2});
    const auto bytes = Concat({PackHeader(), kSystemHeader, video, privateStream, kPadding, kEnd});
    size_t skipped = 1;
    const auto seen = Split(bytes, true, &skipped);
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0].kind, UnitKind::PackHeader);
    EXPECT_EQ(seen[0].size, 16u);
    EXPECT_EQ(seen[1].kind, UnitKind::SystemHeader);
    EXPECT_EQ(seen[1].size, kSystemHeader.size());
    EXPECT_EQ(seen[2].kind, UnitKind::Pes);
    EXPECT_EQ(seen[2].size, video.size());
    EXPECT_EQ(seen[3].size, privateStream.size());
    EXPECT_EQ(seen[4].size, kPadding.size());
    EXPECT_EQ(seen[5].kind, UnitKind::EndCode);
    EXPECT_EQ(skipped, 0u);
}

TEST(UnitSplitter, SkipsGarbageBetweenUnitsAndCountsIt)
{
    const std::vector<uint8_t> garbage = {0x12, 0x00, 0x00, 0x01, 0x42, 0x00, 0x00, 0x7F};
    const auto a = Pes(0xE1, {1, 2, 3});
    const auto b = Pes(0xC0, {4, 5});
    const auto bytes = Concat({garbage, a, garbage, garbage, b, garbage});
    size_t skipped = 0;
    const auto seen = Split(bytes, true, &skipped);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].offset, garbage.size());
    EXPECT_EQ(seen[1].offset, 3 * garbage.size() + a.size());
    EXPECT_EQ(skipped, 4 * garbage.size());
}

TEST(UnitSplitter, AFalseStartCodeWithAHugeLengthDoesNotHideTheNextUnit)
{
    const std::vector<uint8_t> liar = {0x00, 0x00, 0x01, 0xE0, 0xFF, 0xF0, 0x80};
    const auto real = Pes(0xE2, {7, 7, 7});
    const auto seen = Split(Concat({liar, real}), true);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].offset, liar.size());
}

TEST(UnitSplitter, StreamingStopsAtAnIncompleteUnitAndResumesFromItsStart)
{
    const auto a = Pes(0xE0, {1, 2, 3, 4});
    const auto b = Pes(0xE0, {5, 6, 7, 8});
    const auto whole = Concat({a, b});
    const std::vector<uint8_t> partial(whole.begin(), whole.end() - 3);

    mpeg::UnitSplitter streaming(partial.data(), partial.size(), false);
    mpeg::UnitSplitter::Unit unit{};
    ASSERT_TRUE(streaming.Next(&unit));
    EXPECT_EQ(unit.size, a.size());
    EXPECT_FALSE(streaming.Next(&unit));
    EXPECT_EQ(streaming.Position(), a.size());

    // At the end of the stream the truncated unit is refused, not read past.
    EXPECT_EQ(Split(partial, true).size(), 1u);
}

TEST(UnitSplitter, StreamingKeepsATrailingPartialStartCode)
{
    const std::vector<uint8_t> bytes = {0x55, 0x66, 0x00, 0x00, 0x01};
    mpeg::UnitSplitter splitter(bytes.data(), bytes.size(), false);
    mpeg::UnitSplitter::Unit unit{};
    EXPECT_FALSE(splitter.Next(&unit));
    EXPECT_EQ(splitter.Position(), 2u);
    EXPECT_EQ(splitter.SkippedBytes(), 2u);
}

TEST(UnitSplitter, UnboundedVideoPacketEndsAtTheNextUnit)
{
    auto open = Pes(0xE0, {0, 0, 1, 0x65, 1, 2, 3});
    open[4] = open[5] = 0;
    const auto bytes = Concat({open, PackHeader(), open});
    const auto seen = Split(bytes, true);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].size, open.size());
    EXPECT_EQ(seen[2].size, open.size());

    mpeg::UnitSplitter streaming(open.data(), open.size(), false);
    mpeg::UnitSplitter::Unit unit{};
    EXPECT_FALSE(streaming.Next(&unit));
}

TEST(UnitSplitter, MeasuresMpeg1PackHeadersAndRefusesBrokenOnes)
{
    const std::vector<uint8_t> mpeg1 = {0x00, 0x00, 0x01, 0xBA, 0x21, 0x00, 0x01, 0x00, 0x01, 0x80, 0x00, 0x01};
    auto scan = mpeg::ScanUnit(mpeg1.data(), mpeg1.size(), true);
    EXPECT_EQ(scan.status, mpeg::UnitStatus::Complete);
    EXPECT_EQ(scan.length, 12u);

    auto broken = PackHeader();
    broken[4] = 0x00;
    EXPECT_EQ(mpeg::ScanUnit(broken.data(), broken.size(), true).status, mpeg::UnitStatus::Invalid);
    const auto header = PackHeader();
    EXPECT_EQ(mpeg::ScanUnit(header.data(), 10, false).status, mpeg::UnitStatus::Incomplete);
    EXPECT_EQ(mpeg::ScanUnit(header.data(), 10, true).status, mpeg::UnitStatus::Invalid);
}

TEST(UnitSplitter, NullOrEmptyBuffersGiveNothing)
{
    mpeg::UnitSplitter none(nullptr, 100, true);
    mpeg::UnitSplitter::Unit unit{};
    EXPECT_FALSE(none.Next(&unit));
    const std::array<uint8_t, 3> tiny = {0, 0, 1};
    mpeg::UnitSplitter small(tiny.data(), tiny.size(), true);
    EXPECT_FALSE(small.Next(&unit));
}

} // namespace
