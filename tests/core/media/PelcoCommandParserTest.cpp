#include <gtest/gtest.h>

#include <vector>

#include "core/media/PelcoCommandParser.h"

namespace {

using media::PelcoCommandParser;
using media::PelcoProtocol;
using media::PtzCommand;

std::vector<uint8_t> PelcoD(uint8_t address, uint8_t cmd1, uint8_t cmd2, uint8_t data1, uint8_t data2)
{
    return {0xFF, address, cmd1, cmd2, data1, data2, static_cast<uint8_t>(address + cmd1 + cmd2 + data1 + data2)};
}

std::vector<uint8_t> PelcoP(uint8_t address, uint8_t d1, uint8_t d2, uint8_t d3, uint8_t d4)
{
    std::vector<uint8_t> bytes = {0xA0, address, d1, d2, d3, d4, 0xAF};
    uint8_t check = 0;
    for (uint8_t b : bytes)
        check ^= b;
    bytes.push_back(check);
    return bytes;
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<uint8_t> kTrailer2 = {'a', 'a', 2};

std::vector<PtzCommand> FeedAll(PelcoCommandParser& parser, const std::vector<uint8_t>& bytes)
{
    return parser.Feed(bytes.data(), bytes.size());
}

TEST(PelcoCommandParser, ReadsPelcoDDirectionsSpeedsAndTrailer)
{
    PelcoCommandParser parser;
    // Pan left at speed 0x20 with a tilt up, zoom in, from the viewer for channel 2.
    const auto commands = FeedAll(parser, Join({PelcoD(3, 0x00, 0x04 | 0x08 | 0x20, 0x20, 0x10), kTrailer2}));
    ASSERT_EQ(commands.size(), 1u);
    const PtzCommand& c = commands[0];
    EXPECT_EQ(c.protocol, PelcoProtocol::D);
    EXPECT_EQ(c.address, 3);
    EXPECT_EQ(c.channel, 2);
    EXPECT_TRUE(c.panLeft && c.tiltUp && c.zoomIn);
    EXPECT_FALSE(c.panRight || c.tiltDown || c.zoomOut || c.extended);
    EXPECT_EQ(c.panSpeed, 0x20);
    EXPECT_EQ(c.tiltSpeed, 0x10);
    EXPECT_TRUE(c.Moves());

    const auto focus = FeedAll(parser, PelcoD(1, 0x01 | 0x02, 0x80, 0, 0));
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_TRUE(focus[0].focusNear && focus[0].irisOpen && focus[0].focusFar);
    EXPECT_FALSE(focus[0].Moves());
    EXPECT_EQ(focus[0].channel, -1);

    const auto stop = FeedAll(parser, PelcoD(1, 0, 0, 0, 0));
    ASSERT_EQ(stop.size(), 1u);
    EXPECT_FALSE(stop[0].Moves());

    const auto preset = FeedAll(parser, PelcoD(1, 0x00, 0x07, 0x00, 0x01)); // go to preset 1
    ASSERT_EQ(preset.size(), 1u);
    EXPECT_TRUE(preset[0].extended);
    EXPECT_FALSE(preset[0].Moves());
}

TEST(PelcoCommandParser, ReadsPelcoPWithAndWithoutTrailer)
{
    PelcoCommandParser parser;
    const auto commands =
        FeedAll(parser, Join({PelcoP(0, 0x04, 0x02 | 0x10 | 0x40, 0x3F, 0x01), kTrailer2, PelcoP(5, 0, 0, 0, 0)}));
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].protocol, PelcoProtocol::P);
    EXPECT_EQ(commands[0].address, 0);
    EXPECT_EQ(commands[0].channel, 2);
    EXPECT_TRUE(commands[0].panRight && commands[0].tiltDown && commands[0].zoomOut && commands[0].irisOpen);
    EXPECT_EQ(commands[0].panSpeed, 0x3F);
    EXPECT_EQ(commands[1].address, 5);
    EXPECT_EQ(commands[1].channel, -1);
    EXPECT_FALSE(commands[1].Moves());
}

TEST(PelcoCommandParser, EverySplitGivesTheSameCommands)
{
    const auto stream = Join({PelcoD(1, 0, 0x02, 0x3F, 0), kTrailer2, PelcoP(1, 0, 0x08, 0, 0x20),
                              std::vector<uint8_t>{'a', 'a', 7}, PelcoD(2, 0, 0, 0, 0), kTrailer2});
    for (size_t cut = 0; cut <= stream.size(); ++cut) {
        PelcoCommandParser parser;
        auto commands = parser.Feed(stream.data(), cut);
        const auto rest = parser.Feed(stream.data() + cut, stream.size() - cut);
        commands.insert(commands.end(), rest.begin(), rest.end());
        ASSERT_EQ(commands.size(), 3u) << "cut " << cut;
        EXPECT_TRUE(commands[0].panRight);
        EXPECT_EQ(commands[1].protocol, PelcoProtocol::P);
        EXPECT_TRUE(commands[1].tiltUp);
        EXPECT_FALSE(commands[2].Moves());
        // Only a cut right between a command and its trailer loses the trailer.
        const bool cutBeforeTrailer0 = cut == 7;
        const bool cutBeforeTrailer1 = cut == 18;
        EXPECT_EQ(commands[0].channel, cutBeforeTrailer0 ? -1 : 2) << "cut " << cut;
        EXPECT_EQ(commands[1].channel, cutBeforeTrailer1 ? -1 : 7) << "cut " << cut;
        EXPECT_EQ(commands[2].channel, stream.size() - cut == 3 ? -1 : 2) << "cut " << cut;
    }
}

// A command that ends a chunk is taken as having no trailer (nothing says
// more bytes will come); the late trailer is then skipped as noise.
TEST(PelcoCommandParser, ByteByByteStillGivesEachCommandOnce)
{
    const auto stream = Join({PelcoD(4, 0, 0x10, 0, 0x30), kTrailer2});
    PelcoCommandParser parser;
    std::vector<PtzCommand> commands;
    for (uint8_t byte : stream) {
        const auto got = parser.Feed(&byte, 1);
        commands.insert(commands.end(), got.begin(), got.end());
    }
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].channel, -1);
    EXPECT_TRUE(commands[0].tiltDown);
    EXPECT_EQ(parser.SkippedBytes(), kTrailer2.size());
}

TEST(PelcoCommandParser, SkipsNoiseAndResynchronises)
{
    PelcoCommandParser parser;
    auto badSum = PelcoD(1, 0, 0x04, 0x20, 0);
    badSum[6] ^= 0x01;
    auto badEnd = PelcoP(1, 0, 0x04, 0x20, 0);
    badEnd[6] = 0xAE;
    // 0xFF speed bytes look like a sync byte; the parser must not lose the real command.
    const auto stream = Join({{0x00, 0x13, 0xFF, 0xFF}, badSum, badEnd, {'a', 'a'},
                              PelcoD(9, 0, 0x02, 0xFF, 0xFF), {0xA0, 0xFF}, PelcoP(3, 0, 0x20, 0, 0)});
    const auto commands = FeedAll(parser, stream);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].address, 9);
    EXPECT_EQ(commands[0].panSpeed, 0xFF);
    EXPECT_EQ(commands[0].channel, -1);
    EXPECT_EQ(commands[1].address, 3);
    EXPECT_TRUE(commands[1].zoomIn);
    EXPECT_GT(parser.SkippedBytes(), 20u);
}

TEST(PelcoCommandParser, KeepsLittleWhileWaitingForMoreBytes)
{
    PelcoCommandParser parser;
    std::vector<uint8_t> noise(100000, 0x55);
    EXPECT_TRUE(FeedAll(parser, noise).empty());
    EXPECT_EQ(parser.SkippedBytes(), noise.size());
    // A lone sync byte at the end waits; its command then completes.
    const auto command = PelcoD(1, 0, 0x04, 1, 0);
    EXPECT_TRUE(parser.Feed(command.data(), 3).empty());
    EXPECT_EQ(parser.Feed(command.data() + 3, 4).size(), 1u);
}

}  // namespace
