#include "ui/ptz/CPTZController.h"

#include "core/ptz/PtzButtons.h"
#include "ui/app/SidePanels.h"
#include "ui/controls/CLRButton.h"
#include "ui/controls/CtrlId.h"

CPTZController::CPTZController(QWidget* parent) : QWidget(parent)
{
    SetCtrlId(this, ptz::kControllerId);
    setObjectName("m_staticptz_bg");
    setAccessibleName("PTZ");
    setToolTip(ptz::kKeysTip);
    // Lets the skin paint the panel's background.
    setAttribute(Qt::WA_StyledBackground);
    setGeometry(SidePanels::kArea);
    for (const ptz::PtzButton& b : ptz::kPtzButtons) {
        QPushButton* button = nullptr;
        if (b.held) {
            auto* held = new CLRButton(this);
            connect(held, &CLRButton::ButtonAction, this, &CPTZController::onButtonAction);
            button = held;
        } else {
            button = new QPushButton(this);
            connect(button, &QPushButton::clicked, this, [this] {
                for (int i = 0; i < ptz::kHomeBreakCount; ++i)
                    emit command(ptz::Command::BreakPTZ);
            });
        }
        SetCtrlId(button, b.id);
        button->setObjectName(b.element);
        button->setToolTip(b.tip);
        button->setAccessibleName(b.tip);
        button->setAutoDefault(false);
        // Keys steer only while the panel is shown; the buttons take no focus
        // so that arrow keys never move between them.
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(QRect(QPoint(b.left, b.top), QPoint(b.right - 1, b.bottom - 1)));
    }
    hide();
}

void CPTZController::onButtonAction(int ctrlId, int action)
{
    if (action < static_cast<int>(ptz::ButtonAction::LeftDown) || action > static_cast<int>(ptz::ButtonAction::RightUp))
        return;
    if (auto c = ptz::CommandForButton(ctrlId, static_cast<ptz::ButtonAction>(action)))
        emit command(*c);
}
