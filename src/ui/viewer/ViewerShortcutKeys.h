#pragma once

#include <QObject>

#include <functional>

class CChannelPosDlg;
class CRenderWnd;
struct VideoWindowState;
class QWidget;

// Binds the main window's shortcut table to `window`: each key clicks its
// button (a disabled button ignores it, as it ignores the mouse) and the
// button's tooltip names the key. Escape leaves full screen and does nothing
// else. The arrows move the selected pane of `video`, unless the keyboard
// focus is in a control that uses arrows itself (the server list, a slider)
// or the arrows steer a PTZ camera.
class ViewerShortcutKeys : public QObject {
    Q_OBJECT
public:
    ViewerShortcutKeys(QWidget* window, CRenderWnd* video, CChannelPosDlg* layoutPanel,
                       const VideoWindowState& state);

    // While `taken` says so (the PTZ panel is shown), the arrows are the PTZ keys.
    void LeaveArrowsWhile(std::function<bool()> taken) { m_arrowsTaken = std::move(taken); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool arrowsFreeIn(const QWidget* focus) const;

    QWidget* m_window;
    CRenderWnd* m_video;
    std::function<bool()> m_arrowsTaken;
};
