#include "ui/status/CBarChart.h"

#include <QPainter>

#include "core/status/BarChartLayout.h"

CBarChart::CBarChart(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CBarChart::SetRange(double minimum, double maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    update();
}

void CBarChart::SetPos(double position)
{
    m_position = position;
    update();
}

void CBarChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);

    const BarChartLayout layout(height());
    const int middle = width() / 2;
    const int margin = BarChartLayout::kMargin;
    // One gap on each side of the middle keeps the columns apart.
    const int columnWidth = middle - margin - BarChartLayout::kGap;
    if (columnWidth <= 0)
        return;
    const int left[] = {margin, middle + BarChartLayout::kGap};
    const int lit = layout.LitCount(m_position, m_minimum, m_maximum);
    for (int i = 0; i < layout.SegmentCount(); ++i) {
        const QColor& colour = i < lit ? kLit : kUnlit;
        for (int x : left)
            painter.fillRect(x, layout.SegmentTop(i), columnWidth, BarChartLayout::kSegmentHeight, colour);
    }
}
