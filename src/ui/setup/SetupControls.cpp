#include "ui/setup/SetupControls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace setupui {

QPushButton* Button(QWidget* parent, int id, const QString& text, const QRect& place, const char* element)
{
    auto* button = Placed(new QPushButton(text, parent), id, text, place);
    button->setObjectName(element);
    button->setFocusPolicy(Qt::TabFocus);
    button->setAutoDefault(false);
    return button;
}

QPushButton* CheckButton(QWidget* parent, int id, const QString& text, const QRect& place, const char* element)
{
    QPushButton* button = Button(parent, id, text, place, element);
    button->setCheckable(true);
    return button;
}

QLabel* Label(QWidget* parent, const QString& text, const QRect& place)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(kLabelElement);
    label->setGeometry(place);
    return label;
}

QComboBox* DropList(QWidget* parent, int id, const QString& label, const QStringList& entries, const QRect& place)
{
    auto* list = Placed(new QComboBox(parent), id, label, place);
    list->addItems(entries);
    return list;
}

QLineEdit* Edit(QWidget* parent, int id, const QString& label, int maxLength, const QRect& place)
{
    auto* edit = Placed(new QLineEdit(parent), id, label, place);
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace setupui
