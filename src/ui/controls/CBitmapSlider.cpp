#include "ui/controls/CBitmapSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "ui/controls/CtrlId.h"

CBitmapSlider::CBitmapSlider(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void CBitmapSlider::SetRange(int min, int max)
{
    m_min = std::min(min, max);
    m_max = std::max(min, max);
    m_pos = std::clamp(m_pos, m_min, m_max);
    update();
}

void CBitmapSlider::SetPos(int pos)
{
    m_pos = std::clamp(pos, m_min, m_max);
    update();
}

void CBitmapSlider::SetBitmaps(const QPixmap& channel, const QPixmap& thumb)
{
    m_channel = channel;
    m_thumb = thumb;
    update();
}

void CBitmapSlider::SetOrientation(Qt::Orientation orientation)
{
    m_orientation = orientation;
    updateGeometry();
    update();
}

QSize CBitmapSlider::sizeHint() const
{
    return vertical() ? QSize(20, 120) : QSize(120, 20);
}

int CBitmapSlider::length() const
{
    return vertical() ? height() : width();
}

int CBitmapSlider::along(const QMouseEvent* event) const
{
    return static_cast<int>(vertical() ? event->position().y() : event->position().x());
}

int CBitmapSlider::thumbLength() const
{
    const int image = vertical() ? m_thumb.height() : m_thumb.width();
    const int wanted = m_thumb.isNull() ? 10 : image;
    return std::clamp(wanted, 1, std::max(1, length()));
}

int CBitmapSlider::thumbCentre() const
{
    const int travel = length() - thumbLength();
    const long long span = static_cast<long long>(m_max) - m_min;
    const long long offset = span == 0 ? 0 : (static_cast<long long>(m_pos) - m_min) * travel / span;
    return static_cast<int>(offset) + thumbLength() / 2;
}

int CBitmapSlider::positionAt(int centre) const
{
    const int travel = length() - thumbLength();
    if (travel <= 0)
        return m_min;
    const int offset = std::clamp(centre - thumbLength() / 2, 0, travel);
    const long long span = static_cast<long long>(m_max) - m_min;
    // Rounded to the nearest step so a drag back to a spot gives the same value.
    return static_cast<int>(m_min + (offset * span + travel / 2) / travel);
}

void CBitmapSlider::post(unsigned message)
{
    emit Notify(message, CtrlId(this), m_pos);
}

void CBitmapSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int across = vertical() ? width() : height();
    const int channelThickness = std::max(2, across / 4);
    const int channelStart = (across - channelThickness) / 2;
    const QRect channel = vertical() ? QRect(channelStart, 0, channelThickness, height())
                                     : QRect(0, channelStart, width(), channelThickness);
    if (m_channel.isNull()) {
        painter.fillRect(channel, isEnabled() ? QColor(0x3a, 0x40, 0x4a) : QColor(0x2a, 0x2d, 0x33));
    } else {
        painter.drawPixmap(channel, m_channel);
    }
    const int thumbStart = thumbCentre() - thumbLength() / 2;
    const QRect thumb = vertical() ? QRect(0, thumbStart, width(), thumbLength())
                                   : QRect(thumbStart, 0, thumbLength(), height());
    if (m_thumb.isNull()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(isEnabled() ? QColor(0x4f, 0x9d, 0xe8) : QColor(0x55, 0x5a, 0x63));
        painter.drawRoundedRect(thumb.adjusted(1, 1, -1, -1), 3, 3);
    } else {
        painter.drawPixmap(thumb.topLeft(), m_thumb);
    }
}

void CBitmapSlider::mousePressEvent(QMouseEvent* event)
{
    if (!isEnabled() || event->button() != Qt::LeftButton)
        return;
    const int at = along(event);
    const int centre = thumbCentre();
    // A press on the thumb keeps where it was taken; elsewhere the thumb jumps
    // to centre on the pointer.
    m_grabOffset = std::abs(at - centre) <= thumbLength() / 2 ? at - centre : 0;
    m_dragging = true;
    const int pos = positionAt(at - m_grabOffset);
    if (pos != m_pos) {
        m_pos = pos;
        update();
        post(kMsgMoving);
    }
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !isEnabled())
        return;
    const int pos = positionAt(along(event) - m_grabOffset);
    if (pos != m_pos) {
        m_pos = pos;
        update();
        post(kMsgMoving);
    }
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    if (isEnabled())
        post(kMsgMoved);
}

void CBitmapSlider::keyPressEvent(QKeyEvent* event)
{
    if (!isEnabled())
        return;
    // Wide arithmetic: a step past either end of a full int range must clamp, not wrap.
    long long pos = m_pos;
    switch (event->key()) {
    case Qt::Key_PageUp:
        pos = static_cast<long long>(m_pos) - m_page;
        break;
    case Qt::Key_PageDown:
        pos = static_cast<long long>(m_pos) + m_page;
        break;
    case Qt::Key_End:
        pos = m_max;
        break;
    case Qt::Key_Home:
        pos = m_min;
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        pos = static_cast<long long>(m_pos) - 1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        pos = static_cast<long long>(m_pos) + 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    SetPos(static_cast<int>(std::clamp<long long>(pos, m_min, m_max)));
    post(kMsgMoved);
}
