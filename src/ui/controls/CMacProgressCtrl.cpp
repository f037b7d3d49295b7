#include "ui/controls/CMacProgressCtrl.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

CMacProgressCtrl::CMacProgressCtrl(QWidget* parent) : QWidget(parent)
{
    // Every pixel is painted here: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_animation.setInterval(50);
    connect(&m_animation, &QTimer::timeout, this, [this] {
        m_phase = (m_phase + 1) % kPhaseSteps;
        update();
    });
}

void CMacProgressCtrl::SetRange(int min, int max)
{
    m_min = std::min(min, max);
    m_max = std::max(min, max);
    SetPos(m_pos);
}

void CMacProgressCtrl::SetPos(int pos)
{
    m_pos = std::clamp(pos, m_min, m_max);
    update();
}

double CMacProgressCtrl::Fraction() const
{
    const double span = static_cast<double>(m_max) - m_min;
    return span <= 0 ? 0.0 : (static_cast<double>(m_pos) - m_min) / span;
}

void CMacProgressCtrl::SetColor(const QColor& color)
{
    m_color = color;
    update();
}

void CMacProgressCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x14, 0x16, 0x1a));
    painter.setPen(QColor(0x3c, 0x42, 0x4c));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const int filled = static_cast<int>((width() - 2) * Fraction());
    if (filled <= 0)
        return;
    const QRect bar(1, 1, filled, height() - 2);
    QLinearGradient shade(0, bar.top(), 0, bar.bottom());
    shade.setColorAt(0, m_color.lighter(140));
    shade.setColorAt(1, m_color.darker(120));
    painter.fillRect(bar, shade);
    // The highlight sweeps across the filled part.
    const int band = std::max(4, filled / 4);
    const int x = bar.left() - band + (filled + band) * m_phase / kPhaseSteps;
    QLinearGradient glow(x, 0, x + band, 0);
    glow.setColorAt(0, QColor(255, 255, 255, 0));
    glow.setColorAt(0.5, QColor(255, 255, 255, 70));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(bar.intersected(QRect(x, bar.top(), band, bar.height())), glow);
}

void CMacProgressCtrl::showEvent(QShowEvent* event)
{
    m_animation.start();
    QWidget::showEvent(event);
}

void CMacProgressCtrl::hideEvent(QHideEvent* event)
{
    m_animation.stop();
    QWidget::hideEvent(event);
}
