#include "core/video/TitleText.h"

#include <gtest/gtest.h>

namespace {

TEST(TitleText, LinesAreCutToFortyNineCharacters)
{
    const std::string longName(80, 'n');
    EXPECT_EQ(TitleLine1(longName), std::string(49, 'n'));
    EXPECT_EQ(TitleLine1("Shop front"), "Shop front");
    EXPECT_EQ(TitleLine2(0, "Door"), "1-Door");
    EXPECT_EQ(TitleLine2(15, "Yard"), "16-Yard");
    EXPECT_EQ(TitleLine2(9, std::string(60, 'x')).size(), 49u);
    EXPECT_EQ(TitleLine2(9, "").substr(0, 3), "10-");
}

TEST(TitleText, TwoCameraLabelsNameTheOddCameraLeftAndTheEvenRight)
{
    // Whichever of a pair was requested, the halves read 1 | 2 and 3 | 4.
    EXPECT_EQ(LeftCameraLabel("1-Door"), "1-Door");
    EXPECT_EQ(RightCameraLabel("1-Door"), "2-Door");
    EXPECT_EQ(LeftCameraLabel("2-Door"), "1-Door");
    EXPECT_EQ(LeftCameraLabel("4-Gate"), "3-Gate");
    EXPECT_EQ(RightCameraLabel("3-Gate"), "4-Gate");
    // Digits inside the title follow the camera number.
    EXPECT_EQ(LeftCameraLabel("2-Lane 2 and 12"), "1-Lane 1 and 11");
    EXPECT_EQ(RightCameraLabel("3-Bay 3"), "4-Bay 4");
    // Titles of other cameras are left as they are.
    EXPECT_EQ(LeftCameraLabel("5-Hall 2"), "5-Hall 2");
    EXPECT_EQ(LeftCameraLabel(""), "");
}

} // namespace
