#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGINT reach the program as `received`, emitted from the event
// loop: the handler itself only writes a byte to a pipe. After the first, the
// two signals get their default action back, so a second one ends a program
// whose orderly end hangs. One at a time per process.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signal);

private:
    void onReadable();

    QSocketNotifier* m_notifier = nullptr;
};
