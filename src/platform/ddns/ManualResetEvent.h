#pragma once
// An event that stays signalled until reset, for one thread to tell others
// that something happened (any number of waiters).

#include <chrono>
#include <condition_variable>
#include <mutex>

class ManualResetEvent {
public:
    void Set();
    void Reset();
    bool IsSet() const;
    void Wait() const;
    // False when the time ran out first.
    bool WaitFor(std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex m_lock;  // guards m_signalled
    bool m_signalled = false;
    mutable std::condition_variable m_changed;
};
