#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "support/QtTestApp.h"
#include "ui/controls/CLRButton.h"
#include "ui/controls/CMacProgressCtrl.h"
#include "ui/controls/CMsgListBox.h"
#include "ui/controls/CtrlId.h"

namespace {

TEST(LRButton, ReportsEachButtonPressAndReleaseAndStillClicks)
{
    EnsureQApplication();
    CLRButton button("Up");
    SetCtrlId(&button, 4019);
    button.resize(40, 30);
    QSignalSpy actions(&button, &CLRButton::ButtonAction);
    QSignalSpy clicks(&button, &QPushButton::clicked);

    QTest::mousePress(&button, Qt::LeftButton);
    QTest::mouseRelease(&button, Qt::LeftButton);
    QTest::mousePress(&button, Qt::RightButton);
    QTest::mouseRelease(&button, Qt::RightButton);
    QTest::mousePress(&button, Qt::MiddleButton);
    QTest::mouseRelease(&button, Qt::MiddleButton);

    std::vector<std::pair<int, int>> seen;
    for (const QList<QVariant>& args : actions)
        seen.emplace_back(args[0].toInt(), args[1].toInt());
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{4019, 0}, {4019, 1}, {4019, 2}, {4019, 3}}));
    EXPECT_EQ(clicks.count(), 1);
}

TEST(MacProgressCtrl, PositionIsClampedAndShownAsAFraction)
{
    EnsureQApplication();
    CMacProgressCtrl progress;
    progress.SetRange(200, 100);
    progress.SetPos(150);
    EXPECT_DOUBLE_EQ(progress.Fraction(), 0.5);
    progress.SetPos(1000);
    EXPECT_EQ(progress.GetPos(), 200);
    EXPECT_DOUBLE_EQ(progress.Fraction(), 1.0);
    progress.SetRange(5, 5);
    EXPECT_DOUBLE_EQ(progress.Fraction(), 0.0);
}

TEST(MacProgressCtrl, AnimatesOnlyWhileShown)
{
    EnsureQApplication();
    CMacProgressCtrl progress;
    progress.resize(160, 14);
    progress.SetPos(60);
    QTest::qWait(150);
    EXPECT_EQ(progress.Phase(), 0);
    progress.show();
    QTRY_VERIFY_WITH_TIMEOUT(progress.Phase() != 0, 5000);
    progress.hide();
    const int stopped = progress.Phase();
    QTest::qWait(150);
    EXPECT_EQ(progress.Phase(), stopped);
    progress.grab();
}

TEST(MsgListBox, AppendsSelectsAndScrollsToTheNewestLineAndDropsTheOldestBeyondItsLimit)
{
    EnsureQApplication();
    CMsgListBox list;
    list.resize(150, 48);
    list.show();
    for (int i = 0; i < 30; ++i)
        list.AddMessage(QString("12:00:%1 line").arg(i, 2, 10, QChar('0')));
    ASSERT_EQ(list.count(), 30);
    EXPECT_EQ(list.currentRow(), 29);
    EXPECT_EQ(list.currentItem()->text(), "12:00:29 line");
    QTRY_VERIFY(list.visualItemRect(list.item(29)).bottom() <= list.viewport()->height());
    EXPECT_LT(list.visualItemRect(list.item(0)).top(), 0); // the oldest scrolled away

    // Beyond its limit the oldest lines go.
    for (int i = 30; i < CMsgListBox::kMaxLines + 7; ++i)
        list.AddMessage(QString::number(i));
    EXPECT_EQ(list.count(), CMsgListBox::kMaxLines);
    EXPECT_EQ(list.item(0)->text(), "12:00:07 line");
    EXPECT_EQ(list.currentItem()->text(), QString::number(CMsgListBox::kMaxLines + 6));
}

} // namespace
