#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/QtTestApp.h"
#include "support/TempDir.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CMsgListBox.h"
#include "ui/status/CBarChart.h"
#include "ui/status/CInformationDlg.h"
#include "ui/status/CTimeDlg.h"

namespace {

void Write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

QColor PixelAt(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

int CountPixels(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += PixelAt(image, x, y) == colour;
    return count;
}

TEST(BarChart, LightsHalfOfEachColumnFromTheBottomAtHalfRange)
{
    EnsureQApplication();
    CBarChart chart;
    chart.resize(40, 45);  // 14 segments a column; segment i covers rows 42-3i and 43-3i
    chart.SetPos(50);
    EXPECT_DOUBLE_EQ(chart.GetPos(), 50.0);
    const QImage half = chart.grab().toImage();
    for (int x : {5, 30}) {              // the left and the right column
        EXPECT_EQ(PixelAt(half, x, 42), CBarChart::kLit);       // bottom segment
        EXPECT_EQ(PixelAt(half, x, 42 - 3 * 6), CBarChart::kLit);  // seventh
        EXPECT_EQ(PixelAt(half, x, 42 - 3 * 7), CBarChart::kUnlit);
        EXPECT_EQ(PixelAt(half, x, 41), CBarChart::kBackground);   // the gap between segments
    }
    EXPECT_EQ(PixelAt(half, 20, 42), CBarChart::kBackground);  // between the columns

    chart.SetRange(0, 200);
    // 3 of 14 segments lit in each column, each segment 18 x 2 pixels.
    EXPECT_EQ(CountPixels(chart.grab().toImage(), chart.rect(), CBarChart::kLit), 2 * 3 * 18 * 2);
    chart.SetPos(0);
    EXPECT_EQ(CountPixels(chart.grab().toImage(), chart.rect(), CBarChart::kLit), 0);
}

class InformationDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureQApplication();
        ClearShownMessages();
        Write(m_stat, "cpu  100 0 0 100 0 0 0 0 0 0\n");
    }

    int CountShown(const QString& text) const
    {
        int count = 0;
        for (const ShownMessage& message : ShownMessages())
            count += message.text == text;
        return count;
    }

    TempDir m_dir;
    std::string m_stat = m_dir / "stat";
};

TEST_F(InformationDlgTest, MessagesAreTimeStampedAndKeptPerSlot)
{
    CInformationDlg panel(nullptr, QString::fromStdString(m_stat));
    panel.AddMessage("Start Event Log...");
    panel.SetCurrentSlot(2);
    panel.AddMessage("connected");
    panel.AddMessage(5, "in the background");
    panel.AddMessage(16, "no such slot");
    panel.SetCurrentSlot(-1);
    EXPECT_EQ(panel.CurrentSlot(), 2);

    const QRegularExpression stamped("^\\d\\d:\\d\\d:\\d\\d connected$");
    ASSERT_EQ(panel.Messages(2).size(), 1);
    EXPECT_TRUE(stamped.match(panel.Messages(2)[0]).hasMatch()) << panel.Messages(2)[0].toStdString();
    EXPECT_TRUE(panel.Messages(0)[0].endsWith(" Start Event Log..."));
    EXPECT_EQ(panel.Messages(5).size(), 1);
    EXPECT_EQ(panel.MessageList(2)->currentRow(), 0);  // the new line is selected
    EXPECT_TRUE(panel.MessageList(2)->isVisibleTo(&panel));
    EXPECT_FALSE(panel.MessageList(5)->isVisibleTo(&panel));

    panel.ClearMessages(5);
    EXPECT_TRUE(panel.Messages(5).isEmpty());
}

TEST_F(InformationDlgTest, RemovingASlotMovesTheLaterSlotsUp)
{
    CInformationDlg panel(nullptr, QString::fromStdString(m_stat));
    for (int slot = 0; slot < CInformationDlg::kSlots; ++slot)
        panel.AddMessage(slot, QString("slot %1").arg(slot));
    panel.SetCurrentSlot(3);
    panel.RemoveSlot(1);

    EXPECT_TRUE(panel.Messages(0)[0].endsWith("slot 0"));
    EXPECT_TRUE(panel.Messages(1)[0].endsWith("slot 2"));
    EXPECT_TRUE(panel.Messages(14)[0].endsWith("slot 15"));
    EXPECT_TRUE(panel.Messages(15).isEmpty());
    // The shown list is that of the slot now current: the old slot 4's.
    EXPECT_TRUE(panel.MessageList(3)->isVisibleTo(&panel));
    EXPECT_TRUE(panel.MessageList(3)->item(0)->text().endsWith("slot 4"));
    int visible = 0;
    for (int slot = 0; slot < CInformationDlg::kSlots; ++slot)
        visible += panel.MessageList(slot)->isVisibleTo(&panel);
    EXPECT_EQ(visible, 1);

    panel.RemoveSlot(99);
    EXPECT_TRUE(panel.Messages(14)[0].endsWith("slot 15"));
}

TEST_F(InformationDlgTest, RateIsReadAndZeroedOnceASecond)
{
    CInformationDlg panel(nullptr, QString::fromStdString(m_stat));
    std::atomic<uint32_t> received{128000};
    panel.SetByteCountSource([&received] { return received.exchange(0); });
    QTRY_COMPARE_WITH_TIMEOUT(panel.Kbps(), 1000u, 3000);
    EXPECT_EQ(received.load(), 0u);
    panel.UpdateRate();
    EXPECT_EQ(panel.Kbps(), 0u);

    received = 256000;
    panel.SetByteCountSource({});
    EXPECT_EQ(panel.Kbps(), 0u);
    QTest::qWait(1200);
    EXPECT_EQ(received.load(), 256000u);  // no source, no timer reading it
}

TEST_F(InformationDlgTest, CounterFailureShowsFailAndAnEmptyBar)
{
    CInformationDlg panel(nullptr, QString::fromStdString(m_stat));
    ASSERT_TRUE(panel.CpuAvailable());
    EXPECT_EQ(panel.CpuMinimumText(), "N/A");

    Write(m_stat, "cpu  150 0 0 150 0 0 0 0 0 0\n");
    panel.UpdateCpu();
    EXPECT_EQ(panel.CpuLoad(), 50);
    EXPECT_EQ(panel.CpuText(), "50%");
    EXPECT_DOUBLE_EQ(panel.BarChart()->GetPos(), 50.0);
    EXPECT_EQ(panel.CpuMaximumText(), "50");

    std::filesystem::remove(m_stat);
    panel.UpdateCpu();
    panel.UpdateCpu();
    EXPECT_EQ(panel.CpuLoad(), -999);
    EXPECT_EQ(panel.CpuText(), "FAIL");
    EXPECT_DOUBLE_EQ(panel.BarChart()->GetPos(), 0.0);
    EXPECT_EQ(CountShown("Failed Query!"), 1);  // once for the run of failures, not every second
    const QImage empty = panel.grab().toImage();
    EXPECT_EQ(CountPixels(empty, QRect(116, 85, 40, 45), CBarChart::kLit), 0);
    EXPECT_GT(CountPixels(empty, QRect(116, 85, 40, 45), CBarChart::kUnlit), 0);

    Write(m_stat, "cpu  250 0 0 150 0 0 0 0 0 0\n");
    panel.UpdateCpu();
    EXPECT_EQ(panel.CpuText(), "100%");
    EXPECT_EQ(panel.CpuAverageText(), "75");
    EXPECT_EQ(PixelAt(panel.grab().toImage(), 116 + 5, 85 + 3), CBarChart::kLit);  // the top segment
}

TEST_F(InformationDlgTest, MissingCounterAtStartLeavesTheLoadIdle)
{
    std::filesystem::remove(m_stat);
    CInformationDlg panel(nullptr, QString::fromStdString(m_stat));
    EXPECT_FALSE(panel.CpuAvailable());
    EXPECT_EQ(CountShown("Could not initialize CPerfMon!"), 1);
    Write(m_stat, "cpu  150 0 0 150 0 0 0 0 0 0\n");
    panel.UpdateCpu();
    EXPECT_EQ(panel.CpuText(), "");
    EXPECT_EQ(CountShown("Failed Query!"), 0);
}

TEST(TimeDlg, DrawsDigitGlyphsOrTheMessageAndAClickSwitches)
{
    EnsureQApplication();
    CTimeDlg clock;
    ASSERT_TRUE(clock.HasGlyphs()) << CTimeDlg::GlyphImagePath().toStdString();
    clock.SetMessage("Recording");
    const QColor ink(220, 220, 112);
    const QColor cyan(0, 255, 255);
    const QRect timeArea(92, 11, 108, 19);

    const QImage digits = clock.grab().toImage();
    EXPECT_GT(CountPixels(digits, timeArea, ink), 6 * 10);  // six glyphs of several segments
    EXPECT_EQ(CountPixels(digits, timeArea, QColor(255, 255, 0)), 0);  // the glyph mask is see-through
    EXPECT_EQ(CountPixels(digits, timeArea, cyan), 0);

    QTest::mouseClick(&clock, Qt::LeftButton, {}, QPoint(120, 20));
    EXPECT_EQ(clock.GetMode(), CTimeDlg::kModeMessage);
    const QImage message = clock.grab().toImage();
    EXPECT_GT(CountPixels(message, timeArea, cyan), 0);

    QTest::mouseClick(&clock, Qt::RightButton, {}, QPoint(120, 20));
    EXPECT_EQ(clock.GetMode(), CTimeDlg::kModeMessage);
    QTest::mouseClick(&clock, Qt::LeftButton, {}, QPoint(120, 20));
    EXPECT_EQ(clock.GetMode(), CTimeDlg::kModeDigits);
}

TEST(TimeDlg, EveryDigitSitsInTheMiddleOfItsCell)
{
    EnsureQApplication();
    const QImage glyphs = CTimeDlg::LoadDigitGlyphs(CTimeDlg::GlyphImagePath());
    ASSERT_FALSE(glyphs.isNull());
    for (int digit = 0; digit < 10; ++digit) {
        int first = CTimeDlg::kGlyphWidth;
        int last = -1;
        for (int x = 0; x < CTimeDlg::kGlyphWidth; ++x)
            for (int y = 0; y < glyphs.height(); ++y)
                if (qAlpha(glyphs.pixel(digit * CTimeDlg::kGlyphWidth + x, y)) != 0) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        ASSERT_LE(first, last) << "digit " << digit << " has no ink";
        const int leftMargin = first;
        const int rightMargin = CTimeDlg::kGlyphWidth - 1 - last;
        EXPECT_LE(std::abs(leftMargin - rightMargin), 1) << "digit " << digit;
    }
}

} // namespace
