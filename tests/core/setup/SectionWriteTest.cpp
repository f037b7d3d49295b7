// The write-section operation: which bytes go out, which stay, and when the
// setup pages' copies follow the current block.
#include "core/dvr/SettingsBlock.h"
#include "core/setup/SetupSectionCopies.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

ZERD_INFO_BLK Filled(std::uint8_t byte)
{
    ZERD_INFO_BLK block;
    std::memset(&block, byte, sizeof block);
    return block;
}

bool Same(const ZERD_INFO_BLK& a, const ZERD_INFO_BLK& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct Sent {
    std::vector<std::uint8_t> bytes;
    int section = -1;
    int calls = 0;
};

SectionSender Recording(Sent& sent, bool result)
{
    return [&sent, result](void* data, std::uint8_t number) {
        const auto span = SectionSpan(number);
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        sent.bytes.assign(bytes, bytes + span->size);
        sent.section = number;
        ++sent.calls;
        return result;
    };
}

} // namespace

TEST(SectionWriteTest, CopyRulesBySectionAndResult)
{
    // System and network follow only an accepted write; camera any non-zero
    // result; sensor, record set and schedule always.
    struct Case {
        std::uint8_t section;
        int result;
        bool refreshes;
    };
    for (const Case& c : {Case{0, 1, true}, Case{0, 0, false}, Case{0, 2, false}, Case{3, 1, true},
                          Case{3, 0, false}, Case{1, 1, true}, Case{1, 2, true}, Case{1, 0, false},
                          Case{2, 0, true}, Case{2, 1, true}, Case{4, 0, true}, Case{5, 0, true}, Case{6, 1, false},
                          Case{255, 1, false}})
        EXPECT_EQ(SectionWriteRefreshesCopies(c.section, c.result), c.refreshes)
            << "section " << int(c.section) << " result " << c.result;
}

TEST(SectionWriteTest, AWriteSendsAndChangesExactlyItsSectionFromTheCurrentBlock)
{
    for (std::uint8_t section = 0; section < kSectionCount; ++section) {
        const auto span = *SectionSpan(section);
        ZERD_INFO_BLK current = Filled(0xAA);
        SetupSectionCopies copies;
        copies.working = Filled(0x55);
        copies.baseline = Filled(0x11);
        Sent sent;
        EXPECT_TRUE(WriteSettingsSection(current, copies, section, Recording(sent, true)));

        ASSERT_EQ(sent.calls, 1);
        EXPECT_EQ(sent.section, section);
        EXPECT_EQ(sent.bytes, std::vector<std::uint8_t>(span.size, 0x55));
        const std::uint8_t* bytes = BlockBytes(current);
        for (std::size_t i = 0; i < kSettingsBlockSize; ++i) {
            const bool inside = i >= span.offset && i < span.offset + span.size;
            ASSERT_EQ(bytes[i], inside ? 0x55 : 0xAA) << "section " << int(section) << " byte " << i;
        }
        // Accepted: the baseline now holds what was sent, elsewhere untouched.
        const std::uint8_t* baseline = BlockBytes(copies.baseline);
        for (std::size_t i = 0; i < kSettingsBlockSize; ++i) {
            const bool inside = i >= span.offset && i < span.offset + span.size;
            ASSERT_EQ(baseline[i], inside ? 0x55 : 0x11) << "section " << int(section) << " byte " << i;
        }
    }
}

TEST(SectionWriteTest, ARefusedSystemOrNetworkWriteLeavesThePageCopies)
{
    for (std::uint8_t section : {kSectionSystem, kSectionNetwork}) {
        ZERD_INFO_BLK current = Filled(0xAA);
        SetupSectionCopies copies;
        copies.working = Filled(0x55);
        copies.baseline = Filled(0x11);
        Sent sent;
        EXPECT_FALSE(WriteSettingsSection(current, copies, section, Recording(sent, false)));
        EXPECT_TRUE(Same(copies.baseline, Filled(0x11)));
        EXPECT_TRUE(Same(copies.working, Filled(0x55)));
    }
    // The schedule's copies follow the block even then.
    ZERD_INFO_BLK current = Filled(0xAA);
    SetupSectionCopies copies;
    copies.working = Filled(0x55);
    copies.baseline = Filled(0x11);
    Sent sent;
    EXPECT_FALSE(WriteSettingsSection(current, copies, kSectionSchedule, Recording(sent, false)));
    EXPECT_EQ(copies.baseline.schedule.mode[3][2][1], 0x55);
}

TEST(SectionWriteTest, ABadSectionNumberDoesNothing)
{
    ZERD_INFO_BLK current = Filled(0xAA);
    SetupSectionCopies copies;
    copies.working = Filled(0x55);
    Sent sent;
    EXPECT_FALSE(WriteSettingsSection(current, copies, 6, Recording(sent, true)));
    EXPECT_EQ(sent.calls, 0);
    EXPECT_TRUE(Same(current, Filled(0xAA)));
}

TEST(SectionWriteTest, DistributeFillsEverySectionButNotTheTailAndClearZeroes)
{
    SetupSectionCopies copies;
    copies.Distribute(Filled(0x77));
    EXPECT_EQ(copies.working.system.recorderId, 0x77);
    EXPECT_EQ(copies.baseline.schedule.mode[15][6][23], 0x77);
    EXPECT_EQ(copies.working.tail[0], 0);

    copies.working.network.port.set(1);
    copies.RestoreBaseline(kSectionNetwork);
    EXPECT_EQ(copies.working.network.port.get(), 0x7777);

    copies.Clear();
    EXPECT_TRUE(Same(copies.working, Filled(0)));
    EXPECT_TRUE(Same(copies.baseline, Filled(0)));
}
