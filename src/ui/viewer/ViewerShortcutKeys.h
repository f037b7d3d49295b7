#pragma once

#include <QObject>

class CChannelPosDlg;
struct VideoWindowState;
class QWidget;

// Binds the main window's shortcut table to `window`: each key clicks its
// button (a disabled button ignores it, as it ignores the mouse) and the
// button's tooltip names the key. Escape leaves full screen and does nothing
// else.
class ViewerShortcutKeys : public QObject {
    Q_OBJECT
public:
    ViewerShortcutKeys(QWidget* window, CChannelPosDlg* layoutPanel, const VideoWindowState& state);
};
