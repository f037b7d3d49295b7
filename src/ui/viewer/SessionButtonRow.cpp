#include "ui/viewer/SessionButtonRow.h"

#include "ui/controls/CtrlId.h"

#include <QPushButton>

namespace {

QPushButton* SessionButton(QWidget* window, int id, const QString& text, const QString& element, QRect where)
{
    auto* button = new QPushButton(text, window);
    SetCtrlId(button, id);
    button->setObjectName(element);
    button->setGeometry(where);
    button->setAutoDefault(false);
    return button;
}

} // namespace

SessionButtonRow::SessionButtonRow(QWidget* window)
    : QObject(window)
    , m_disconnect(SessionButton(window, kDisconnect, "Discon.", "m_btn_Disconnect", {67, 643, 56, 61}))
    , m_liveOn(SessionButton(window, kLiveOn, "Live on", "m_btn_Live_On", {126, 643, 56, 61}))
    , m_liveOff(SessionButton(window, kLiveOff, "Live off", "m_btn_Live_Off", {126, 705, 56, 61}))
{
    connect(m_disconnect, &QPushButton::clicked, this, &SessionButtonRow::disconnectPressed);
    connect(m_liveOn, &QPushButton::clicked, this, &SessionButtonRow::liveOnPressed);
    connect(m_liveOff, &QPushButton::clicked, this, &SessionButtonRow::liveOffPressed);
}

void SessionButtonRow::SetEnabled(bool enabled)
{
    m_disconnect->setEnabled(enabled);
    m_liveOn->setEnabled(enabled);
    m_liveOff->setEnabled(enabled);
}
