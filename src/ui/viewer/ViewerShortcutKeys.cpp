#include "ui/viewer/ViewerShortcutKeys.h"

#include "core/viewer/ViewerShortcutTable.h"
#include "ui/controls/CtrlId.h"
#include "ui/video/CChannelPosDlg.h"
#include "ui/video/VideoWindowState.h"

#include <QAbstractButton>
#include <QShortcut>

ViewerShortcutKeys::ViewerShortcutKeys(QWidget* window, CChannelPosDlg* layoutPanel, const VideoWindowState& state)
    : QObject(window)
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
}
