#include "support/QtTestApp.h"
#include "ui/status/CLogCalendar.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(LogCalendar, AnotherMonthMovesTheSelectionAlongAndDropsTheMarks)
{
    EnsureQApplication();
    CLogCalendar calendar;
    calendar.setSelectedDate(QDate(2027, 1, 31));
    calendar.SetMark(31, true);
    calendar.SetMark(0, true);
    calendar.SetMark(32, true);
    EXPECT_EQ(calendar.Marks(), 1u << 30);

    QSignalSpy shown(&calendar, &CLogCalendar::shownMonthChanged);
    QSignalSpy picked(&calendar, &CLogCalendar::dayPicked);
    calendar.setCurrentPage(2027, 2);
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(shown.at(0).at(0).toDate(), QDate(2027, 2, 28));
    EXPECT_EQ(calendar.selectedDate(), QDate(2027, 2, 28));
    EXPECT_EQ(calendar.Marks(), 0u);

    // The chain putting the selection back is no pick of the user's.
    calendar.SelectDay(3);
    EXPECT_EQ(calendar.selectedDate(), QDate(2027, 2, 3));
    calendar.SelectDay(40);
    EXPECT_EQ(calendar.selectedDate(), QDate(2027, 2, 28));
    EXPECT_EQ(picked.count(), 0);
    EXPECT_EQ(shown.count(), 1);

    // A click on a greyed day of the next month is a new month, not a pick in this one.
    emit calendar.clicked(QDate(2027, 3, 1));
    EXPECT_EQ(picked.count(), 0);
    emit calendar.clicked(QDate(2027, 2, 14));
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.at(0).at(0).toDate(), QDate(2027, 2, 14));
}
