#pragma once

#include <QKeyEvent>

// Enter and Escape would close a dialog; the program's windows close only
// through their own buttons. True when the key was swallowed here.
inline bool SwallowDialogCloseKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return true;
    default:
        return false;
    }
}
