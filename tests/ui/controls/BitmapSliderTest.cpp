#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include <climits>

#include "support/QtTestApp.h"
#include "ui/controls/CBitmapSlider.h"
#include "ui/controls/CtrlId.h"

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

} // namespace
