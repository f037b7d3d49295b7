#include "ui/controls/CLRButton.h"

#include <QMouseEvent>

#include "ui/controls/CtrlId.h"

CLRButton::CLRButton(QWidget* parent) : QPushButton(parent) {}

CLRButton::CLRButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void CLRButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit ButtonAction(CtrlId(this), LeftDown);
    else if (event->button() == Qt::RightButton)
        emit ButtonAction(CtrlId(this), RightDown);
    QPushButton::mousePressEvent(event);
}

void CLRButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit ButtonAction(CtrlId(this), LeftUp);
    else if (event->button() == Qt::RightButton)
        emit ButtonAction(CtrlId(this), RightUp);
    QPushButton::mouseReleaseEvent(event);
}
