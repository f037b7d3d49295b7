#include "core/ddns/DdnsFrameSplitter.h"
#include "core/ddns/DdnsProtocol.h"
#include "core/ddns/DdnsQueryFrame.h"

#include <gtest/gtest.h>

using namespace ddns;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The payload between the markers, as the server receives it.
std::optional<std::string> NameOnTheWire(const Bytes& frame)
{
    DdnsFrameSplitter<kMaxQueryPayload> splitter;
    for (std::uint8_t byte : frame)
        if (splitter.Push(byte) == DdnsFrameSplitter<kMaxQueryPayload>::Step::Frame)
            return ParseQueryPayload(splitter.Payload());
    return std::nullopt;
}

}  // namespace

TEST(DdnsQueryFrame, LengthIsNamePlusEightUpToTheLongestName)
{
    EXPECT_EQ(BuildQueryFrame("cam1"), (Bytes{0xAF, 0x02, 0xFF, 0xFF, 0x01, 0x05, 0x63, 0x61, 0x6D, 0x31, 0x00, 0xCE}));
    for (std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{63}, kMaxNameLength}) {
        const std::string name(n, 'x');
        const auto frame = BuildQueryFrame(name);
        ASSERT_TRUE(frame) << n;
        EXPECT_EQ(frame->size(), n + 8);
        EXPECT_EQ((*frame)[5], n + 1);
        EXPECT_EQ(NameOnTheWire(*frame), name) << n;
    }
}

TEST(DdnsQueryFrame, RefusesNamesTheFrameCannotCarry)
{
    // 255 bytes would need a length byte of 256.
    EXPECT_FALSE(BuildQueryFrame(std::string(kMaxNameLength + 1, 'x')));
    // A marker would end or restart the frame; a zero would cut the name.
    EXPECT_FALSE(BuildQueryFrame("cam\xCE" "1"));
    EXPECT_FALSE(BuildQueryFrame("cam\xAF" "1"));
    EXPECT_FALSE(BuildQueryFrame(std::string("cam\0" "1", 5)));
    // Other 8-bit bytes are sent as typed.
    const auto latin = BuildQueryFrame("caf\xE9");
    ASSERT_TRUE(latin);
    EXPECT_EQ(NameOnTheWire(*latin), "caf\xE9");
}

TEST(DdnsQueryFrame, ServerRefusesPayloadsThatAreNotOneTerminatedName)
{
    auto parse = [](Bytes payload) { return ParseQueryPayload(payload); };
    EXPECT_EQ(parse({0x02, 0xFF, 0xFF, 0x01, 0x02, 'a', 0x00}), "a");
    EXPECT_EQ(parse({0x09, 0x09, 0x09, 0x01, 0x01, 0x00}), "") << "header bytes are not examined";
    EXPECT_FALSE(parse({}));
    EXPECT_FALSE(parse({0x02, 0xFF, 0xFF, 0x01}));
    EXPECT_FALSE(parse({0x02, 0xFF, 0xFF, 0x02, 0x02, 'a', 0x00})) << "not a name field";
    EXPECT_FALSE(parse({0x02, 0xFF, 0xFF, 0x01, 0x00})) << "no room for the terminator";
    EXPECT_FALSE(parse({0x02, 0xFF, 0xFF, 0x01, 0x03, 'a', 0x00})) << "length runs past the payload";
    EXPECT_FALSE(parse({0x02, 0xFF, 0xFF, 0x01, 0x02, 'a', 0x00, 'x'})) << "bytes after the field";
    EXPECT_FALSE(parse({0x02, 0xFF, 0xFF, 0x01, 0x02, 'a', 'b'})) << "no terminator";
    EXPECT_FALSE(parse({0x02, 0xFF, 0xFF, 0x01, 0x03, 'a', 0x00, 0x00})) << "zero inside the name";
    EXPECT_FALSE(parse({0x02, 0xFF, 0xFF, 0x01, 0x03, 'a', 0xAF, 0x00})) << "a marker no frame could hold";
}
