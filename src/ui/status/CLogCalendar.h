#pragma once

#include <QCalendarWidget>

#include <cstdint>

// The Log Viewer's month calendar (control 1005): the days of the shown month
// that hold recordings carry a mark. It tells of two user actions: another
// month shown (the selection moves along to the same day of that month) and
// a day picked.
class CLogCalendar : public QCalendarWidget {
    Q_OBJECT
public:
    explicit CLogCalendar(QWidget* parent = nullptr);

    void ClearMarks();
    // Days outside 1..31 are ignored.
    void SetMark(int day, bool on);
    bool IsMarked(int day) const;
    // Marked days of the shown month as bits (bit d-1 = day d).
    std::uint32_t Marks() const { return m_marks; }
    // Selects day `day` of the shown month, without raising an event.
    void SelectDay(int day);

signals:
    void shownMonthChanged(const QDate& selected);
    void dayPicked(const QDate& date);

protected:
    void paintCell(QPainter* painter, const QRect& rect, QDate date) const override;

private:
    void onPageChanged(int year, int month);

    std::uint32_t m_marks = 0;
};
