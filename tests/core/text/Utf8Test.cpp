#include <gtest/gtest.h>

#include <string>

#include "core/text/Utf8.h"

namespace {

TEST(Utf8, EveryLengthRoundTripsAtItsBoundaries)
{
    for (char32_t c : {U'\0', U'\x7F', U'\x80', U'\x7FF', U'\x800', U'\xFFFF', U'\x10000', U'\x10FFFF'}) {
        std::string bytes;
        text::AppendUtf8(bytes, c);
        char32_t back = 0;
        EXPECT_EQ(text::Utf8SequenceAt(bytes, 0, back), bytes.size()) << unsigned(c);
        EXPECT_EQ(back, c);
    }
}

TEST(Utf8, RefusesOverlongSurrogateOutOfRangeAndCutSequences)
{
    const std::string bad[] = {
        "\xC0\x80",          // overlong NUL
        "\xE0\x9F\xBF",      // overlong U+07FF
        "\xF0\x8F\xBF\xBF",  // overlong U+FFFF
        "\xED\xA0\x80",      // a surrogate
        "\xF4\x90\x80\x80",  // past U+10FFFF
        "\xF5\x80\x80\x80",  // a lead byte that starts nothing
        "\x80",              // a lone continuation byte
        "\xE2\x82",          // cut short
        "\xE2\x28\xA1",      // a continuation byte missing
    };
    for (const std::string& bytes : bad) {
        char32_t c = 0;
        EXPECT_EQ(text::Utf8SequenceAt(bytes, 0, c), 0u) << bytes.size();
    }
    // Only the bytes after i count: a valid sequence later in the string is read there.
    const std::string mixed = "\xE2\x82\xAC";
    char32_t c = 0;
    EXPECT_EQ(text::Utf8SequenceAt("a" + mixed, 1, c), 3u);
    EXPECT_EQ(c, U'\x20AC');
}

}  // namespace
