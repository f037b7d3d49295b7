#include "core/video/OverlayState.h"
#include "core/video/TitleText.h"
#include "support/QtTestApp.h"
#include "ui/video/OverlayPainter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr int kW = 200;
constexpr int kH = 150;
const QColor kPicture(90, 90, 200);

class OverlayPainterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureQApplication();
        overlay.paneRect[3] = PaneRect{200, 0, 400, 150};
        overlay.paneRect[4] = PaneRect{400, 0, 600, 150};
        overlay.liveMask = 0x0008;
        overlay.selectedChannel = 0;
        overlay.blankingDone = true;
        overlay.titles[3][0] = TitleLine1("Front shop");
        overlay.titles[3][1] = TitleLine2(1, "Door");
    }

    // Draws channel's overlay on a pane filled with a picture colour.
    QImage Draw(int channel, OverlayVariant variant)
    {
        QImage image(kW, kH, QImage::Format_RGB32);
        image.fill(kPicture);
        QPainter painter(&image);
        OverlayCallback(variant)(channel, &painter, nullptr, nullptr, &overlay);
        painter.end();
        return image;
    }

    static int Count(const QImage& image, QRect area, const QColor& colour)
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += image.pixelColor(x, y) == colour ? 1 : 0;
        return n;
    }

    OverlayState overlay;
};

const QColor kFrame(0, 128, 0);
const QColor kBlank(1, 1, 1);
const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);

TEST_F(OverlayPainterTest, LivePaneKeepsItsPictureAndGetsAFrameTitlesAndWhenSelectedTheRedFrame)
{
    QImage image = Draw(3, {});
    EXPECT_EQ(image.pixelColor(0, 0), kFrame);
    EXPECT_EQ(image.pixelColor(kW / 2, kH - 10), kPicture);
    EXPECT_GT(Count(image, QRect(5, 5, 150, 14), kGreen), 10);    // line 1
    EXPECT_GT(Count(image, QRect(5, 20, 150, 16), kYellow), 10);  // line 2
    EXPECT_EQ(Count(image, image.rect(), kRed), 0);                // not selected

    image = Draw(3, OverlayVariant{false, false, false});
    EXPECT_EQ(Count(image, image.rect(), kGreen), 0) << "the title-less variant draws no text";
    EXPECT_EQ(Count(image, image.rect(), kYellow), 0);
    EXPECT_EQ(image.pixelColor(0, 0), kFrame);

    overlay.selectedChannel = 3;
    image = Draw(3, {});
    EXPECT_EQ(image.pixelColor(1, kH / 2), kRed);
    EXPECT_EQ(image.pixelColor(kW - 2, kH / 2), kRed);
}

TEST_F(OverlayPainterTest, PaneThatIsNotLiveIsBlankedWithoutText)
{
    overlay.titles[4][0] = "stale";
    QImage image = Draw(4, {});
    EXPECT_EQ(image.pixelColor(kW / 2, kH / 2), kBlank);
    EXPECT_EQ(Count(image, image.rect(), kGreen), 0);
    EXPECT_EQ(Count(image, image.rect(), kPicture), 0);

    // A live pane is blanked, titles still shown, until blanking is done.
    overlay.blankingDone = false;
    image = Draw(3, {});
    EXPECT_EQ(image.pixelColor(kW / 2, kH - 10), kBlank);
    EXPECT_GT(Count(image, QRect(5, 5, 150, 14), kGreen), 10);

    overlay.liveMask = 0;
    overlay.blankingDone = true;
    image = Draw(3, {});
    EXPECT_EQ(image.pixelColor(kW / 2, kH / 2), kBlank);
}

TEST_F(OverlayPainterTest, AlarmVariantFramesAlarmedPanesOnly)
{
    overlay.alarmMask = 0x0008;
    EXPECT_EQ(Draw(3, OverlayVariant{false, true, true}).pixelColor(4, kH / 2), kGreen);
    EXPECT_EQ(Draw(3, OverlayVariant{false, true, false}).pixelColor(4, kH / 2), kPicture);
    overlay.alarmMask = 0x0010;
    EXPECT_EQ(Draw(3, OverlayVariant{false, true, true}).pixelColor(4, kH / 2), kPicture);
}

TEST_F(OverlayPainterTest, TwoCameraPictureIsDividedAndTitledOnBothHalves)
{
    QImage image = Draw(3, OverlayVariant{true, true, false});
    EXPECT_EQ(image.pixelColor(kW / 2, kH / 2), kFrame);
    EXPECT_GT(Count(image, QRect(5, 20, 60, 16), kYellow), 10);
    EXPECT_GT(Count(image, QRect(kW / 2 + 6, 20, 60, 16), kYellow), 10);
    EXPECT_GT(Count(image, QRect(kW / 2 + 6, 5, 60, 14), kGreen), 10);
    // The halves carry different labels ("1-Door" and "2-Door").
    EXPECT_NE(image.copy(5, 20, 40, 16), image.copy(kW / 2 + 6, 20, 40, 16));
}

TEST_F(OverlayPainterTest, ChangedTitleIsDrawnAnewAndTheOldOneComesBackUnchanged)
{
    const QRect line1(0, 0, kW, 20);
    const QImage first = Draw(3, {}).copy(line1);
    overlay.titles[3][0] = TitleLine1("Back yard");
    const QImage second = Draw(3, {}).copy(line1);
    EXPECT_NE(first, second) << "the new server name is shown, not the picture of the old one";
    EXPECT_GT(Count(second, QRect(5, 5, 150, 14), kGreen), 10);
    overlay.titles[3][0] = TitleLine1("Front shop");
    EXPECT_EQ(Draw(3, {}).copy(line1), first);
}

// Pixels of `colour` running in from each edge of the pane, along its middle row and column.
struct EdgeBands {
    int left, right, top, bottom;
    bool operator==(const EdgeBands&) const = default;
};

EdgeBands BandsOf(const QImage& image, const QColor& colour)
{
    EdgeBands b{0, 0, 0, 0};
    while (b.left < kW && image.pixelColor(b.left, kH / 2) == colour)
        ++b.left;
    while (b.right < kW && image.pixelColor(kW - 1 - b.right, kH / 2) == colour)
        ++b.right;
    while (b.top < kH && image.pixelColor(kW / 2, b.top) == colour)
        ++b.top;
    while (b.bottom < kH && image.pixelColor(kW / 2, kH - 1 - b.bottom) == colour)
        ++b.bottom;
    return b;
}

// The frames keep the look of the stroked rectangles they replaced: the inner
// half of a 1, 3 and 12 pixel pen, square corners included.
TEST_F(OverlayPainterTest, FramesCoverTheInnerHalfOfTheirPenAlongEveryEdge)
{
    overlay.titles[3] = {};
    QImage image = Draw(3, OverlayVariant{false, false, false});
    EXPECT_EQ(BandsOf(image, kFrame), (EdgeBands{1, 1, 1, 1}));
    EXPECT_EQ(image.pixelColor(kW - 1, kH - 1), kFrame);
    EXPECT_EQ(image.pixelColor(1, 1), kPicture);

    overlay.selectedChannel = 3;
    image = Draw(3, OverlayVariant{false, false, false});
    EXPECT_EQ(BandsOf(image, kRed), (EdgeBands{2, 2, 2, 2}));
    EXPECT_EQ(image.pixelColor(kW - 2, kH - 2), kRed);
    EXPECT_EQ(image.pixelColor(2, 2), kPicture);

    overlay.selectedChannel = 0;
    overlay.alarmMask = 0x0008;
    image = Draw(3, OverlayVariant{false, false, true});
    EXPECT_EQ(BandsOf(image, kGreen), (EdgeBands{6, 7, 6, 7}));
    EXPECT_EQ(image.pixelColor(0, 0), kGreen);
    EXPECT_EQ(image.pixelColor(kW - 7, kH - 7), kGreen);
    EXPECT_EQ(image.pixelColor(6, 6), kPicture);
}

TEST_F(OverlayPainterTest, ZoomBandIsDrawnOnTheSelectedPane)
{
    overlay.selectedChannel = 3;
    overlay.dragging = true;
    overlay.dragRect = PaneRect{60, 70, 20, 100};  // corners in any order
    QImage image = Draw(3, OverlayVariant{false, false, false});
    const QColor cyan(0, 255, 255);
    EXPECT_EQ(image.pixelColor(40, 70), cyan);
    EXPECT_EQ(image.pixelColor(40, 85), kPicture);
}

TEST_F(OverlayPainterTest, MotionGridReplacesEverythingElseOnItsChannel)
{
    overlay.motionGridMode = true;
    overlay.motionGridChannel = 3;
    overlay.cellWidth = 20.0f;
    overlay.cellHeight = 15.0f;
    overlay.motionGrid[3][1] = 0x04;  // row 1, column 2
    QImage image = Draw(3, {});
    EXPECT_EQ(Count(image, image.rect(), kGreen), 0);
    EXPECT_EQ(image.pixelColor(50, 22), kFrame);   // on the marked cell's diagonal
    EXPECT_EQ(image.pixelColor(110, 22), kPicture);  // unmarked cell
    EXPECT_EQ(image.pixelColor(110, 15), kFrame);  // a grid line
}

TEST_F(OverlayPainterTest, HiddenPaneOrMissingContextDrawsNothing)
{
    overlay.paneRect[3] = kHiddenPane;
    QImage image = Draw(3, {});
    EXPECT_EQ(Count(image, image.rect(), kPicture), kW * kH);
    QImage other(10, 10, QImage::Format_RGB32);
    other.fill(kPicture);
    QPainter painter(&other);
    OverlayCallback({})(3, &painter, nullptr, nullptr, nullptr);
    OverlayCallback({})(16, &painter, nullptr, nullptr, &overlay);
    painter.end();
    EXPECT_EQ(Count(other, other.rect(), kPicture), 100);
}

} // namespace
