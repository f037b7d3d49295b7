#pragma once

#include <QObject>

class QPushButton;
class QWidget;

// Buttons 205 (disconnect), 209 (live on) and 231 (live off) beside the list
// of connected servers; they act on the current session and are enabled
// while some server is listed.
class SessionButtonRow : public QObject {
    Q_OBJECT
public:
    static constexpr int kDisconnect = 205;
    static constexpr int kLiveOn = 209;
    static constexpr int kLiveOff = 231;

    explicit SessionButtonRow(QWidget* window);

    void SetEnabled(bool enabled);

signals:
    void disconnectPressed();
    void liveOnPressed();
    void liveOffPressed();

private:
    QPushButton* m_disconnect;
    QPushButton* m_liveOn;
    QPushButton* m_liveOff;
};
