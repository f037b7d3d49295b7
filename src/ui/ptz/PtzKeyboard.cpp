#include "ui/ptz/PtzKeyboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

ptz::PtzKey KeyOf(int key)
{
    switch (key) {
    case Qt::Key_Left: return ptz::PtzKey::Left;
    case Qt::Key_Right: return ptz::PtzKey::Right;
    case Qt::Key_Up: return ptz::PtzKey::Up;
    case Qt::Key_Down: return ptz::PtzKey::Down;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return ptz::PtzKey::ZoomIn;  // + without Shift on most layouts
    case Qt::Key_Minus: return ptz::PtzKey::ZoomOut;
    default: return key >= Qt::Key_1 && key <= Qt::Key_9 ? ptz::PtzKey::Digit : ptz::PtzKey::None;
    }
}

}  // namespace

PtzKeyboard::PtzKeyboard(QWidget* window, std::function<bool()> mayAct,
                         std::function<void(const ptz::PtzKeyAction&)> act)
    : QObject(window), m_window(window), m_mayAct(std::move(mayAct)), m_act(std::move(act))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(ptz::PtzKeyState::kReleaseSettleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        if (auto action = m_state.Settle())
            m_act(*action);
    });
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            Cancel();
    });
}

void PtzKeyboard::Cancel()
{
    if (auto action = m_state.Cancel())
        m_act(*action);
}

bool PtzKeyboard::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::KeyRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_window)
        return false;
    return onKey(static_cast<QKeyEvent*>(event), press);
}

bool PtzKeyboard::onKey(QKeyEvent* event, bool press)
{
    const ptz::PtzKey key = KeyOf(event->key());
    if (key == ptz::PtzKey::None)
        return false;
    if (!press) {
        // The release of the key that moves the camera stops it even when the
        // keys no longer act; a release of any other key is left alone.
        if (key != m_state.Held())
            return false;
        m_state.Release(key, event->isAutoRepeat());
        if (m_state.ReleasePending())
            m_settle.start();
        return true;
    }
    if (!m_mayAct())
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool set = modifiers == Qt::ControlModifier;
    if (modifiers != Qt::NoModifier && !(set && key == ptz::PtzKey::Digit) &&
        !(modifiers == Qt::ShiftModifier && key == ptz::PtzKey::ZoomIn))
        return false;
    const int digit = event->key() - Qt::Key_0;
    if (auto action = m_state.Press(key, digit, set, event->isAutoRepeat()))
        m_act(*action);
    return true;
}
