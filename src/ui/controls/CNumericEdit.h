#pragma once

#include <QSpinBox>

// The numeric edit box of the setup pages: a number with spin arrows inside
// a range, moved by its step. A page sets and reads the value and hears of
// each change (valueChanged) and of a typed number outside the range
// (valueOutOfRange), which the box does not take: it shows its last value
// again.
class CNumericEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit CNumericEdit(QWidget* parent = nullptr);

    void SetRange(int low, int high) { setRange(low, high); }
    void SetStep(int step) { setSingleStep(step); }
    void SetValue(int value) { setValue(value); }
    int Value() const { return value(); }

signals:
    void valueOutOfRange(int typed);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A whole number typed outside the range: said once, then the box shows
    // its value again.
    void settleTypedText();
};
