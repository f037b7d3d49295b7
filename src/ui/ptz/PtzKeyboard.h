#pragma once

#include "core/ptz/PtzKeyState.h"

#include <QObject>
#include <QTimer>

#include <functional>

class QKeyEvent;

// Keys that steer the selected camera while they may act (the PTZ panel is
// shown and the selected pane has a driver): arrows pan and tilt while held,
// + and - zoom, 1..9 call a preset and Ctrl+1..9 store one. Every other key
// goes its usual way.
class PtzKeyboard : public QObject {
    Q_OBJECT
public:
    // window: only its keys are heard; mayAct says whether they act now.
    PtzKeyboard(QWidget* window, std::function<bool()> mayAct,
                std::function<void(const ptz::PtzKeyAction&)> act);

    // Stops a movement a held key started (panel hidden, window left).
    void Cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool onKey(QKeyEvent* event, bool press);

    QWidget* m_window;
    std::function<bool()> m_mayAct;
    std::function<void(const ptz::PtzKeyAction&)> m_act;
    ptz::PtzKeyState m_state;
    QTimer m_settle;  // restarted by every release: the stop waits for the last
};
