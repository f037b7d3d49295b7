#include "core/mpeg/StartCode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace {

using Visits = std::vector<std::pair<uint8_t, size_t>>;

Visits Collect(const std::vector<uint8_t>& bytes, size_t stopAfter = SIZE_MAX)
{
    Visits visits;
    mpeg::ForEachStartCode(bytes.data(), bytes.size(), [&](uint8_t code, size_t at) {
        visits.emplace_back(code, at);
        return visits.size() < stopAfter;
    });
    return visits;
}

// The plain reading: every 00 00 01 with a code byte after it, a new prefix
// allowed to begin at the code byte of the last one.
Visits Reference(const std::vector<uint8_t>& bytes)
{
    Visits visits;
    for (size_t i = 0; i + 3 < bytes.size(); ++i) {
        if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 1) {
            visits.emplace_back(bytes[i + 3], i + 3);
            i += 2;
        }
    }
    return visits;
}

} // namespace

TEST(StartCode, FindsEveryPrefixWithItsCodeByte)
{
    EXPECT_EQ(Collect({0, 0, 1, 0x67, 9, 0, 0, 1, 0x68}), (Visits{{0x67, 3}, {0x68, 8}}));
    // Back to back: the code byte starts the next prefix.
    EXPECT_EQ(Collect({0, 0, 1, 0, 0, 1, 0x65}), (Visits{{0, 3}, {0x65, 6}}));
    // A prefix with no code byte after it, a 01 too near the start, short input.
    EXPECT_TRUE(Collect({7, 0, 0, 1}).empty());
    EXPECT_TRUE(Collect({1, 0, 0}).empty());
    EXPECT_TRUE(Collect({}).empty());
    EXPECT_EQ(Collect({0, 0, 1, 0x41, 0, 0, 1, 0x42}, 1), (Visits{{0x41, 3}}));
}

TEST(StartCode, AgreesWithThePlainReadingOnRandomBytes)
{
    // Bytes drawn mostly from 0 and 1 make prefixes, near misses and runs of zeros common.
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> bytes(random() % 40);
        for (uint8_t& b : bytes) {
            const unsigned pick = random() % 8;
            b = pick < 4 ? 0 : pick < 6 ? 1 : static_cast<uint8_t>(random());
        }
        ASSERT_EQ(Collect(bytes), Reference(bytes)) << "round " << round;
    }
}
