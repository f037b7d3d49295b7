#include "ui/controls/CNumericEdit.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <climits>

CNumericEdit::CNumericEdit(QWidget* parent)
    : QSpinBox(parent)
{
    setAccelerated(true);
    setKeyboardTracking(false);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &CNumericEdit::settleTypedText);
}

QValidator::State CNumericEdit::validate(QString& input, int& pos) const
{
    bool number = false;
    input.toLongLong(&number);
    // Digits beyond the range are let through as unfinished, so the box can
    // say so when the typing ends.
    if (number && !input.isEmpty())
        return QSpinBox::validate(input, pos) == QValidator::Acceptable ? QValidator::Acceptable
                                                                         : QValidator::Intermediate;
    return QSpinBox::validate(input, pos);
}

void CNumericEdit::settleTypedText()
{
    bool number = false;
    const long long typed = lineEdit()->text().toLongLong(&number);
    if (!number || (typed >= minimum() && typed <= maximum()))
        return;
    lineEdit()->setText(textFromValue(value()));
    emit valueOutOfRange(static_cast<int>(std::clamp<long long>(typed, INT_MIN, INT_MAX)));
}

void CNumericEdit::focusOutEvent(QFocusEvent* event)
{
    settleTypedText();
    QSpinBox::focusOutEvent(event);
}

void CNumericEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        settleTypedText();
    QSpinBox::keyPressEvent(event);
}
