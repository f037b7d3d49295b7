#pragma once

#include "core/ptz/PtzEntryPoints.h"

#include <QWidget>

// The PTZ panel's button window (id 8000, skin element "m_staticptz_bg"): ten
// buttons that move the camera while held and stop it on release, and the
// centre button that stops it. It issues commands; the owner sends them.
class CPTZController : public QWidget {
    Q_OBJECT
public:
    explicit CPTZController(QWidget* parent);

signals:
    void command(ptz::Command command);

private:
    // Message 0x600 from a held button: ctrlId and the action (0..3).
    void onButtonAction(int ctrlId, int action);
};
