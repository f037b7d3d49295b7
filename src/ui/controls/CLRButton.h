#pragma once

#include <QPushButton>

// A push button that also reports left and right presses and releases to its
// parent (the PTZ panel moves the camera while a button is held).
class CLRButton : public QPushButton {
    Q_OBJECT
public:
    static constexpr unsigned kMsgButton = 0x600;
    enum Action { LeftDown = 0, LeftUp = 1, RightDown = 2, RightUp = 3 };

    explicit CLRButton(QWidget* parent = nullptr);
    CLRButton(const QString& text, QWidget* parent = nullptr);

signals:
    // ctrlId is the button's id, action one of Action.
    void ButtonAction(int ctrlId, int action);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
