#include "ui/video/CImagePreviewStatic.h"

#include "ui/controls/CtrlId.h"

#include <QImageReader>
#include <QPainter>

CImagePreviewStatic::CImagePreviewStatic(QWidget* parent)
    : QWidget(parent)
{
    SetCtrlId(this, kCtrlId);
    setAccessibleName("Picture preview");
}

void CImagePreviewStatic::Load(const QString& path)
{
    m_path = path;
    m_image = QImage();
    if (!path.isEmpty()) {
        QImageReader reader(path);
        // The picture's own pixels and orientation, as the camera gave them.
        reader.setAutoTransform(false);
        m_image = reader.read();
    }
    update();
}

void CImagePreviewStatic::paintEvent(QPaintEvent*)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(rect()), m_image);
}
