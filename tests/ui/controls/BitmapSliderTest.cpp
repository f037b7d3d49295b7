#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include <QPainter>
#include <QPixmap>

#include <climits>

#include "support/QtTestApp.h"
#include "ui/controls/CBitmapSlider.h"
#include "ui/controls/CtrlId.h"
#include "ui/viewer/ChannelButtonBar.h"

namespace {

class BitmapSliderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureQApplication();
        m_slider = std::make_unique<CBitmapSlider>();
        SetCtrlId(m_slider.get(), 3500);
        // 10-pixel thumb, 100 pixels of travel: one pixel per step for 0..100.
        m_slider->resize(110, 20);
        m_slider->SetRange(0, 100);
        m_spy = std::make_unique<QSignalSpy>(m_slider.get(), &CBitmapSlider::Notify);
    }

    // The messages posted so far as (message, id, position), then forgotten.
    std::vector<std::tuple<unsigned, int, int>> taken()
    {
        std::vector<std::tuple<unsigned, int, int>> out;
        for (const QList<QVariant>& args : *m_spy)
            out.emplace_back(args[0].toUInt(), args[1].toInt(), args[2].toInt());
        m_spy->clear();
        return out;
    }

    std::unique_ptr<CBitmapSlider> m_slider;
    std::unique_ptr<QSignalSpy> m_spy;
};

using Msg = std::tuple<unsigned, int, int>;
constexpr unsigned kMoving = 10449;
constexpr unsigned kMoved = 10450;

TEST_F(BitmapSliderTest, RangeIsOrderedAndPositionClampedToIt)
{
    m_slider->SetRange(50, -50);
    EXPECT_EQ(m_slider->GetRangeMin(), -50);
    EXPECT_EQ(m_slider->GetRangeMax(), 50);
    m_slider->SetPos(70);
    EXPECT_EQ(m_slider->GetPos(), 50);
    m_slider->SetPos(-700);
    EXPECT_EQ(m_slider->GetPos(), -50);
    m_slider->SetPos(40);
    m_slider->SetRange(0, 10);
    EXPECT_EQ(m_slider->GetPos(), 10);
    EXPECT_TRUE(taken().empty()); // setting from code posts nothing
}

TEST_F(BitmapSliderTest, KeysStepAndEachPostsTheSettledPosition)
{
    m_slider->SetPageSize(25);
    m_slider->SetPos(50);
    QTest::keyClick(m_slider.get(), Qt::Key_PageUp);
    QTest::keyClick(m_slider.get(), Qt::Key_PageDown);
    QTest::keyClick(m_slider.get(), Qt::Key_PageDown);
    QTest::keyClick(m_slider.get(), Qt::Key_Right);
    QTest::keyClick(m_slider.get(), Qt::Key_Down);
    QTest::keyClick(m_slider.get(), Qt::Key_Up);
    QTest::keyClick(m_slider.get(), Qt::Key_Left);
    QTest::keyClick(m_slider.get(), Qt::Key_End);
    QTest::keyClick(m_slider.get(), Qt::Key_Right); // already at the end
    QTest::keyClick(m_slider.get(), Qt::Key_Home);
    QTest::keyClick(m_slider.get(), Qt::Key_PageUp); // already at the start
    EXPECT_EQ(taken(), (std::vector<Msg>{{kMoved, 3500, 25},
                                         {kMoved, 3500, 50},
                                         {kMoved, 3500, 75},
                                         {kMoved, 3500, 76},
                                         {kMoved, 3500, 77},
                                         {kMoved, 3500, 76},
                                         {kMoved, 3500, 75},
                                         {kMoved, 3500, 100},
                                         {kMoved, 3500, 100},
                                         {kMoved, 3500, 0},
                                         {kMoved, 3500, 0}}));
}

TEST_F(BitmapSliderTest, StepsAtTheEdgesOfTheWholeIntRangeClampRatherThanWrap)
{
    m_slider->SetRange(INT_MIN, INT_MAX);
    m_slider->SetPageSize(INT_MAX);
    m_slider->SetPos(INT_MAX);
    QTest::keyClick(m_slider.get(), Qt::Key_PageDown);
    EXPECT_EQ(m_slider->GetPos(), INT_MAX);
    m_slider->SetPos(INT_MIN);
    QTest::keyClick(m_slider.get(), Qt::Key_Left);
    EXPECT_EQ(m_slider->GetPos(), INT_MIN);
    // Dragging over the whole range stays in it too.
    QTest::mousePress(m_slider.get(), Qt::LeftButton, {}, QPoint(109, 10));
    EXPECT_EQ(m_slider->GetPos(), INT_MAX);
}

TEST_F(BitmapSliderTest, PressOnTheThumbKeepsTheGrabOffsetAndAwayFromItCentresIt)
{
    m_slider->SetPos(40); // thumb centre at x 45
    QTest::mousePress(m_slider.get(), Qt::LeftButton, {}, QPoint(48, 10));
    EXPECT_EQ(m_slider->GetPos(), 40);
    QTest::mouseMove(m_slider.get(), QPoint(58, 10));
    EXPECT_EQ(m_slider->GetPos(), 50);
    QTest::mouseRelease(m_slider.get(), Qt::LeftButton, {}, QPoint(58, 10));
    EXPECT_EQ(taken(), (std::vector<Msg>{{kMoving, 3500, 50}, {kMoved, 3500, 50}}));

    // Away from the thumb the press centres it on the pointer.
    m_slider->SetPos(0); // thumb centre at x 5
    QTest::mousePress(m_slider.get(), Qt::LeftButton, {}, QPoint(85, 10));
    EXPECT_EQ(m_slider->GetPos(), 80);
    QTest::mouseMove(m_slider.get(), QPoint(500, 10)); // past the end
    EXPECT_EQ(m_slider->GetPos(), 100);
    QTest::mouseRelease(m_slider.get(), Qt::LeftButton, {}, QPoint(500, 10));
    EXPECT_EQ(taken(), (std::vector<Msg>{{kMoving, 3500, 80}, {kMoving, 3500, 100}, {kMoved, 3500, 100}}));
}

TEST_F(BitmapSliderTest, DisabledSliderIgnoresAllInput)
{
    m_slider->SetPos(30);
    m_slider->setEnabled(false);
    QTest::keyClick(m_slider.get(), Qt::Key_End);
    QTest::mousePress(m_slider.get(), Qt::LeftButton, {}, QPoint(100, 10));
    QTest::mouseRelease(m_slider.get(), Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_EQ(m_slider->GetPos(), 30);
    EXPECT_TRUE(taken().empty());
}

TEST_F(BitmapSliderTest, EmptyRangeAndTinyWidgetStayAtTheOnlyPosition)
{
    m_slider->SetRange(7, 7);
    m_slider->resize(3, 20); // narrower than the thumb
    QTest::mousePress(m_slider.get(), Qt::LeftButton, {}, QPoint(2, 10));
    QTest::mouseRelease(m_slider.get(), Qt::LeftButton, {}, QPoint(2, 10));
    EXPECT_EQ(m_slider->GetPos(), 7);
    EXPECT_EQ(taken(), (std::vector<Msg>{{kMoved, 3500, 7}}));
    m_slider->grab(); // paints without dividing by the empty span
}

TEST_F(BitmapSliderTest, VerticalSliderHasTheMinimumAtTheTopAndDragsAlongItsHeight)
{
    // A thumb image wider than tall would give the wrong travel if its width
    // were taken: 30 pixels high on a 130-pixel slider leaves 100 of travel.
    QPixmap thumb(16, 30);
    thumb.fill(Qt::white);
    m_slider->SetBitmaps(QPixmap(), thumb);
    m_slider->SetOrientation(Qt::Vertical);
    m_slider->resize(16, 130);
    m_slider->SetPos(100);

    // Away from the thumb (bottom) the press centres it on the pointer.
    QTest::mousePress(m_slider.get(), Qt::LeftButton, {}, QPoint(8, 15));
    EXPECT_EQ(m_slider->GetPos(), 0);
    QTest::mouseMove(m_slider.get(), QPoint(300, 75)); // the x of the pointer does not count
    EXPECT_EQ(m_slider->GetPos(), 60);
    QTest::mouseMove(m_slider.get(), QPoint(8, 900)); // past the bottom
    EXPECT_EQ(m_slider->GetPos(), 100);
    QTest::mouseRelease(m_slider.get(), Qt::LeftButton, {}, QPoint(8, 900));
    EXPECT_EQ(taken(), (std::vector<Msg>{{kMoving, 3500, 0}, {kMoving, 3500, 60}, {kMoving, 3500, 100}, {kMoved, 3500, 100}}));

    // On the thumb the grab offset is held: thumb centre at y 55 for 40.
    m_slider->SetPos(40);
    QTest::mousePress(m_slider.get(), Qt::LeftButton, {}, QPoint(8, 64));
    EXPECT_EQ(m_slider->GetPos(), 40);
    QTest::mouseMove(m_slider.get(), QPoint(8, 54));
    QTest::mouseRelease(m_slider.get(), Qt::LeftButton, {}, QPoint(8, 54));
    EXPECT_EQ(taken(), (std::vector<Msg>{{kMoving, 3500, 30}, {kMoved, 3500, 30}}));

    // Up moves towards the top (the minimum), Down towards the bottom.
    QTest::keyClick(m_slider.get(), Qt::Key_Up);
    QTest::keyClick(m_slider.get(), Qt::Key_Down);
    QTest::keyClick(m_slider.get(), Qt::Key_Down);
    EXPECT_EQ(taken(), (std::vector<Msg>{{kMoved, 3500, 29}, {kMoved, 3500, 30}, {kMoved, 3500, 31}}));

    // The thumb is painted where a press finds it: at the bottom for the maximum.
    m_slider->SetPos(100);
    const QImage shot = m_slider->grab().toImage();
    EXPECT_EQ(shot.pixelColor(8, 115), QColor(Qt::white));
    EXPECT_NE(shot.pixelColor(8, 15), QColor(Qt::white));
}

TEST_F(BitmapSliderTest, ViewerVolumeSliderIsVerticalWithLoudestAtTheTopAndReportsWhereItSettles)
{
    QWidget window;
    ChannelButtonBar bar(&window);
    QSignalSpy released(&bar, &ChannelButtonBar::sliderReleased);
    auto* slider = FindCtrl<CBitmapSlider>(&window, ChannelButtonBar::kSlider);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetOrientation(), Qt::Vertical);

    ChannelPanel panel;
    panel.sliderEnabled = true;
    panel.sliderPosition = ChannelPanel::kSliderMax;
    bar.Show(panel);
    // Dragging to the top and letting go settles on 0, the loudest.
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(8, slider->height() - 2));
    QTest::mouseMove(slider, QPoint(8, -40));
    EXPECT_TRUE(released.isEmpty()); // nothing settles while the button is down
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(8, -40));
    ASSERT_EQ(released.size(), 1);
    EXPECT_EQ(released.takeFirst().at(0).toInt(), 0);
    QTest::keyClick(slider, Qt::Key_End);
    ASSERT_EQ(released.size(), 1);
    EXPECT_EQ(released.takeFirst().at(0).toInt(), ChannelPanel::kSliderMax);
    bar.Read(panel);
    EXPECT_EQ(panel.sliderPosition, ChannelPanel::kSliderMax);

    panel.sliderEnabled = false;
    bar.Show(panel);
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(8, 2));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(8, 2));
    EXPECT_TRUE(released.isEmpty());
}

} // namespace
