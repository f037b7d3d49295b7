#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

// Window timers keyed by the program's timer ids. Setting an id that runs
// restarts it with the new period; the handler gets the id, and a one-shot
// timer is one whose handler kills it first.
class CWindowTimers : public QObject {
    Q_OBJECT
public:
    explicit CWindowTimers(std::function<void(int)> handler, QObject* parent = nullptr);

    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    bool IsRunning(int id) const;

private:
    std::function<void(int)> m_handler;
    std::map<int, std::unique_ptr<QTimer>> m_timers;
};
