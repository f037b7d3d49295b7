#include "ui/status/CLogCalendar.h"

#include <QPainter>

#include <algorithm>

CLogCalendar::CLogCalendar(QWidget* parent) : QCalendarWidget(parent)
{
    setGridVisible(true);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setAccessibleName(QStringLiteral("Recording days"));
    connect(this, &QCalendarWidget::currentPageChanged, this, &CLogCalendar::onPageChanged);
    connect(this, &QCalendarWidget::clicked, this, [this](QDate date) {
        if (date.year() == yearShown() && date.month() == monthShown())
            emit dayPicked(date);
    });
    connect(this, &QCalendarWidget::activated, this, [this](QDate date) { emit dayPicked(date); });
}

void CLogCalendar::ClearMarks()
{
    m_marks = 0;
    updateCells();
}

void CLogCalendar::SetMark(int day, bool on)
{
    if (day < 1 || day > 31)
        return;
    const std::uint32_t bit = 1u << (day - 1);
    m_marks = on ? (m_marks | bit) : (m_marks & ~bit);
    updateCells();
}

bool CLogCalendar::IsMarked(int day) const
{
    return day >= 1 && day <= 31 && ((m_marks >> (day - 1)) & 1u);
}

void CLogCalendar::SelectDay(int day)
{
    const QDate first(yearShown(), monthShown(), 1);
    setSelectedDate(QDate(first.year(), first.month(), std::clamp(day, 1, first.daysInMonth())));
}

void CLogCalendar::onPageChanged(int year, int month)
{
    // The marks belong to the month that was shown.
    m_marks = 0;
    const QDate first(year, month, 1);
    setSelectedDate(QDate(year, month, std::clamp(selectedDate().day(), 1, first.daysInMonth())));
    emit shownMonthChanged(selectedDate());
}

void CLogCalendar::paintCell(QPainter* painter, const QRect& rect, QDate date) const
{
    QCalendarWidget::paintCell(painter, rect, date);
    if (date.year() != yearShown() || date.month() != monthShown() || !IsMarked(date.day()))
        return;
    painter->save();
    const QColor mark = palette().color(QPalette::Highlight);
    painter->setPen(QPen(mark, 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(2, 2, -2, -2));
    painter->fillRect(QRect(rect.left() + 4, rect.bottom() - 5, rect.width() - 8, 3), mark);
    painter->restore();
}
