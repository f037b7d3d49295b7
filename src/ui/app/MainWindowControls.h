#pragma once

#include <QObject>

class QPushButton;
class QWidget;

// The main window's own command buttons: close (1000), minimise (1221),
// configuration (1002), remote and local playback (201, 1003), server
// selection (1008), remote setup (222) and capture (233). The skin set-up
// places them; the window connects their clicks.
class MainWindowControls : public QObject {
    Q_OBJECT
public:
    static constexpr int kClose = 1000;
    static constexpr int kMinimize = 1221;
    static constexpr int kConfig = 1002;
    static constexpr int kRemotePlayback = 201;
    static constexpr int kLocalPlayback = 1003;
    static constexpr int kServerSelect = 1008;
    static constexpr int kRemoteSetup = 222;
    static constexpr int kCapture = 233;

    explicit MainWindowControls(QWidget* window);

    QPushButton* Button(int id) const;

private:
    QWidget* m_window;
};
