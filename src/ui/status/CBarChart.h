#pragma once

#include <QColor>
#include <QWidget>

// A level bar of small green segments in two columns, lit from the bottom in
// proportion to the position within the range.
class CBarChart : public QWidget {
    Q_OBJECT
public:
    static inline const QColor kBackground{0, 0, 0};
    static inline const QColor kUnlit{0, 128, 0};
    static inline const QColor kLit{0, 255, 0};

    explicit CBarChart(QWidget* parent = nullptr);

    void SetRange(double minimum, double maximum);
    void SetPos(double position);
    double GetPos() const { return m_position; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_minimum = 0.0;
    double m_maximum = 100.0;
    double m_position = 0.0;
};
