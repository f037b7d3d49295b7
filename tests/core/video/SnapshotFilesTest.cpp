#include "core/video/JpegComment.h"
#include "core/video/PrintFit.h"
#include "core/video/SnapshotNaming.h"
#include "support/CivilTime.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SnapshotNaming, FileNameCountsTheChannelFromOneAndPadsTheTime)
{
    EXPECT_EQ(CaptureFileName(0, CivilTm(2007, 3, 5, 9, 4, 7)), "Live_1CH_2007_0305_090407.jpg");
    EXPECT_EQ(CaptureFileName(15, CivilTm(2026, 12, 31, 23, 59, 59)), "Live_16CH_2026_1231_235959.jpg");
}

TEST(SnapshotNaming, CommentNamesRecorderCameraAndTime)
{
    SnapshotSource source{"Gate", "127.0.0.1", 3, "Parking"};
    EXPECT_EQ(SnapshotComment(source, CivilTm(2007, 3, 5, 9, 4, 7)),
              "Recorder: Gate (127.0.0.1); Camera: 3 Parking; Captured: 2007-03-05 09:04:07");
    EXPECT_EQ(SnapshotComment({}, CivilTm(2007, 3, 5, 9, 4, 7)), "Recorder: ; Camera: unknown; Captured: 2007-03-05 09:04:07");
}

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

TEST(JpegComment, GoesAfterTheApplicationSegments)
{
    // SOI, APP0 of 4 bytes, APP1 of 2, then a quantisation table.
    const auto jpeg = Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xE1, 0, 2, 0xFF, 0xDB, 0, 2});
    const auto out = InsertJpegComment(jpeg, "hi");
    ASSERT_TRUE(out);
    EXPECT_EQ(*out, Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xE1, 0, 2, 0xFF, 0xFE, 0, 4, 'h', 'i', 0xFF,
                           0xDB, 0, 2}));
    // Straight after the start when there is no application segment.
    EXPECT_EQ(*InsertJpegComment(Bytes({0xFF, 0xD8, 0xFF, 0xDB}), ""), Bytes({0xFF, 0xD8, 0xFF, 0xFE, 0, 2, 0xFF, 0xDB}));
}

TEST(JpegComment, LongCommentIsCutToOneSegment)
{
    const auto out = InsertJpegComment(Bytes({0xFF, 0xD8, 0xFF, 0xDB}), std::string(70000, 'x'));
    ASSERT_TRUE(out);
    EXPECT_EQ((*out)[4], 0xFF);
    EXPECT_EQ((*out)[5], 0xFF);
    EXPECT_EQ(out->size(), 4u + 2 + 65535);
}

TEST(JpegComment, RefusesWhatIsNotAJpegFile)
{
    EXPECT_FALSE(InsertJpegComment({}, "x"));
    EXPECT_FALSE(InsertJpegComment(Bytes({0x89, 'P', 'N', 'G'}), "x"));
    EXPECT_FALSE(InsertJpegComment(Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 40, 1, 2}), "x"));  // segment past the end
    EXPECT_FALSE(InsertJpegComment(Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 1, 0xFF, 0xDB}), "x"));  // length below 2
    EXPECT_FALSE(InsertJpegComment(Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 2}), "x"));  // nothing after it
}

TEST(PrintFit, KeepsItsSizeWhenItFitsElseShrinksWithItsAspect)
{
    EXPECT_EQ(FitPictureOnPage(704, 576, 1000, 1000), (PrintSize{704, 576}));
    EXPECT_EQ(FitPictureOnPage(704, 576, 704, 576), (PrintSize{704, 576}));
    EXPECT_EQ(FitPictureOnPage(704, 576, 352, 1000), (PrintSize{352, 288}));
    EXPECT_EQ(FitPictureOnPage(704, 576, 1000, 288), (PrintSize{352, 288}));
    EXPECT_EQ(FitPictureOnPage(4000, 10, 100, 100), (PrintSize{100, 1}));
    EXPECT_EQ(FitPictureOnPage(704, 576, 0, 100), (PrintSize{}));
    EXPECT_EQ(FitPictureOnPage(0, 576, 100, 100), (PrintSize{}));
}

} // namespace
