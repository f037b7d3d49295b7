#include "ui/status/FittedText.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>

void DrawFittedText(QPainter& painter, int x, int y, const QString& text, int maxWidth)
{
    const QFontMetrics metrics(painter.font());
    const int width = metrics.horizontalAdvance(text);
    const QRect box(0, 0, std::max(width, 1), metrics.height());
    painter.save();
    painter.translate(x, y);
    if (width > maxWidth && maxWidth > 0)
        painter.scale(static_cast<qreal>(maxWidth) / width, 1.0);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
    painter.restore();
}
