#include "ui/controls/CMsgListBox.h"

CMsgListBox::CMsgListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    SetColors(QColor(220, 220, 112), Qt::black);
}

void CMsgListBox::SetColors(const QColor& text, const QColor& background)
{
    QPalette colors = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colors.setColor(group, QPalette::Text, text);
        colors.setColor(group, QPalette::Base, background);
        colors.setColor(group, QPalette::Window, background);
    }
    setPalette(colors);
    setAutoFillBackground(true);
}

void CMsgListBox::AddMessage(const QString& text)
{
    while (count() >= kMaxLines)
        delete takeItem(0);
    addItem(text);
    setCurrentRow(count() - 1);
    scrollToBottom();
}
