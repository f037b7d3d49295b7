// The options and words of a dvrctl command.

#include <gtest/gtest.h>

#include "../../../tools/dvrctl/CommandArguments.h"

namespace {

TEST(CommandArgumentsTest, OptionsAndWordsInAnyOrder)
{
    std::string error;
    auto parsed = CommandArguments::Parse({"in.ps", "--shot", "out.png", "--layout", "4"}, {"--shot", "--layout"},
                                          &error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->words, std::vector<std::string>{"in.ps"});
    EXPECT_EQ(parsed->options.at("--shot"), "out.png");
    EXPECT_EQ(parsed->options.at("--layout"), "4");
    // A value may itself look like a word or start with a dash.
    parsed = CommandArguments::Parse({"--shot", "-x.png"}, {"--shot"}, &error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->options.at("--shot"), "-x.png");
    EXPECT_TRUE(parsed->words.empty());
}

TEST(CommandArgumentsTest, UnknownRepeatedAndMissingValuesAreRefused)
{
    std::string error;
    EXPECT_FALSE(CommandArguments::Parse({"--zoom", "2"}, {"--shot"}, &error));
    EXPECT_EQ(error, "unknown option --zoom");
    EXPECT_FALSE(CommandArguments::Parse({"--shot", "a", "--shot", "b"}, {"--shot"}, &error));
    EXPECT_EQ(error, "--shot given twice");
    EXPECT_FALSE(CommandArguments::Parse({"x", "--shot"}, {"--shot"}, &error));
    EXPECT_EQ(error, "--shot needs a value");
}

TEST(CommandArgumentsTest, BoundedNumbers)
{
    EXPECT_EQ(ParseBoundedNumber("1", 1, 16), 1);
    EXPECT_EQ(ParseBoundedNumber("16", 1, 16), 16);
    for (const char* bad : {"0", "17", "", "-1", "+3", " 3", "3 ", "3x", "0x3", "99999999999999999999"})
        EXPECT_FALSE(ParseBoundedNumber(bad, 1, 16)) << '"' << bad << '"';
}

} // namespace
