#include "ui/viewer/ViewerShortcutKeys.h"

#include "core/viewer/ViewerShortcutTable.h"
#include "ui/controls/CtrlId.h"
#include "ui/video/CChannelPosDlg.h"
#include "ui/video/CRenderWnd.h"
#include "ui/video/VideoWindowState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QShortcut>

#include <optional>

namespace {

std::optional<PaneDirection> DirectionOf(int key)
{
    for (const PaneMoveKey& k : PaneMoveKeys())
        if (QKeySequence(QString::fromLatin1(k.keys), QKeySequence::PortableText)[0].key() == key)
            return k.direction;
    return std::nullopt;
}

} // namespace

ViewerShortcutKeys::ViewerShortcutKeys(QWidget* window, CRenderWnd* video, CChannelPosDlg* layoutPanel,
                                       const VideoWindowState& state)
    : QObject(window)
    , m_window(window)
    , m_video(video)
{
    for (const ViewerShortcut& s : ViewerShortcuts()) {
        const QKeySequence keys(QString::fromLatin1(s.keys), QKeySequence::PortableText);
        auto* shortcut = new QShortcut(keys, window);
        const int id = s.ctrlId;
        connect(shortcut, &QShortcut::activated, window, [window, id] {
            if (auto* button = FindCtrl<QAbstractButton>(window, id))
                button->click();
        });
        if (auto* button = FindCtrl<QAbstractButton>(window, id))
            button->setToolTip(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(s.what), keys.toString()));
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    connect(escape, &QShortcut::activated, layoutPanel, [layoutPanel, &state] {
        if (state.fullScreen)
            layoutPanel->SetFullScreen(false);
    });
    video->setAccessibleDescription(
        QStringLiteral("The arrow keys select the next pane on their side while the PTZ panel is hidden"));
    // Shortcuts would take the arrows before the PTZ keys and the server list see them.
    qApp->installEventFilter(this);
}

bool ViewerShortcutKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_window)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const auto direction = DirectionOf(key->key());
    if (!direction || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if ((m_arrowsTaken && m_arrowsTaken()) || !arrowsFreeIn(QApplication::focusWidget()))
        return false;
    m_video->MoveSelection(*direction);
    return true;
}

bool ViewerShortcutKeys::arrowsFreeIn(const QWidget* focus) const
{
    // Buttons would only pass the focus on; lists, sliders and fields use the arrows.
    return !focus || focus == m_window || focus == m_video || qobject_cast<const QAbstractButton*>(focus);
}
