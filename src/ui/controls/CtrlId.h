#pragma once

#include <QWidget>

// Every control keeps the numeric id the program knows it by, so code and
// tests find it by id rather than by its place in the widget tree.
inline void SetCtrlId(QWidget* widget, int id)
{
    widget->setProperty("ctrlId", id);
}

inline int CtrlId(const QWidget* widget)
{
    QVariant id = widget->property("ctrlId");
    return id.isValid() ? id.toInt() : -1;
}

template <typename T = QWidget>
T* FindCtrl(const QWidget* root, int id)
{
    for (T* child : root->findChildren<T*>())
        if (CtrlId(child) == id)
            return child;
    return nullptr;
}
