#include "ui/app/WindowTimers.h"

CWindowTimers::CWindowTimers(std::function<void(int)> handler, QObject* parent)
    : QObject(parent)
    , m_handler(std::move(handler))
{
}

void CWindowTimers::SetTimer(int id, int milliseconds)
{
    auto& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        connect(timer.get(), &QTimer::timeout, this, [this, id] { m_handler(id); });
    }
    timer->start(milliseconds);
}

void CWindowTimers::KillTimer(int id)
{
    if (auto it = m_timers.find(id); it != m_timers.end())
        it->second->stop();
}

bool CWindowTimers::IsRunning(int id) const
{
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second->isActive();
}
