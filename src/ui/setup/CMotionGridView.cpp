#include "ui/setup/CMotionGridView.h"

#include <QMouseEvent>
#include <QPainter>

CMotionGridView::CMotionGridView(const Source& source, QWidget* parent)
    : QWidget(parent)
    , m_source(source)
{
    setObjectName("m_preview");
    setAccessibleName("Motion area");
    setGeometry(kPlace);
}

void CMotionGridView::Render(int channel, QPainter* dc, void*, void*, void* context)
{
    if (dc && context)
        static_cast<const CMotionGridView*>(context)->draw(*dc, channel);
}

void CMotionGridView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    draw(painter, -1);
}

void CMotionGridView::draw(QPainter& painter, int paneChannel) const
{
    const std::lock_guard<std::mutex> hold(*m_source.lock);
    const int channel = *m_source.channel;
    if (channel < 0 || (paneChannel >= 0 && paneChannel != channel))
        return;
    const int columns = *m_source.twoGrids ? 16 : 8;
    const double width = kPlace.width();
    const double height = kPlace.height();
    const double cellWidth = width / columns;
    const double cellHeight = height / 8;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(m_gridPen);
    for (int i = 1; i < 8; ++i)
        painter.drawLine(QPointF(0, i * cellHeight), QPointF(width, i * cellHeight));
    for (int i = 1; i < columns; ++i)
        painter.drawLine(QPointF(i * cellWidth, 0), QPointF(i * cellWidth, height));
    painter.setPen(m_cellPen);
    const MotionGridPair pair = MotionGridChannels(channel, *m_source.twoGrids);
    for (int column = 0; column < columns; ++column) {
        const auto& rows = (*m_source.grid)[column < 8 ? pair.first : pair.second];
        for (int row = 0; row < 8; ++row) {
            if (!(rows[row] & (1u << (column % 8))))
                continue;
            const QRectF cell = QRectF(column * cellWidth, row * cellHeight, cellWidth, cellHeight)
                                    .adjusted(1, 1, -1, -1);
            painter.drawRect(cell);
            painter.drawLine(cell.topLeft(), cell.bottomRight());
            painter.drawLine(cell.topRight(), cell.bottomLeft());
        }
    }
    painter.restore();
}

void CMotionGridView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_onClick)
        m_onClick(event->position().toPoint().x(), event->position().toPoint().y());
}
