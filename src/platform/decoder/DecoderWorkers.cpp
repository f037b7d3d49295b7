#include "platform/decoder/DecoderWorkers.h"

#include <algorithm>

DecoderWorkers::DecoderWorkers(std::vector<DecoderJob*> jobs, unsigned threads)
    : m_jobs(std::move(jobs)), m_state(m_jobs.size(), State::Idle), m_due(m_jobs.size()), m_ready(m_jobs.size())
{
    threads = std::max(threads, 1u);
    m_threads.reserve(threads);
    for (unsigned i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { Work(); });
}

DecoderWorkers::~DecoderWorkers()
{
    {
        std::lock_guard guard(m_lock);
        m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

unsigned DecoderWorkers::DefaultThreadCount(std::size_t jobs)
{
    const unsigned cores = std::max(std::thread::hardware_concurrency(), 1u);
    return static_cast<unsigned>(std::clamp<std::size_t>(cores, 1, std::max<std::size_t>(jobs, 1)));
}

void DecoderWorkers::Wake(std::size_t job)
{
    std::unique_lock guard(m_lock);
    if (job >= m_jobs.size())
        return;
    if (m_state[job] == State::Running) {
        m_state[job] = State::RunningAndWoken;
        return;
    }
    if (m_state[job] != State::Idle)
        return;
    QueueLocked(job);
    // A busy worker looks for queued jobs before it sleeps: only a sleeping one needs waking.
    const bool wake = m_sleeping > 0;
    guard.unlock();
    if (wake)
        m_wake.notify_one();
}

void DecoderWorkers::QueueLocked(std::size_t job)
{
    m_state[job] = State::Queued;
    m_due[job].reset();
    m_ready[(m_readyHead + m_readyCount) % m_ready.size()] = job;
    ++m_readyCount;
}

void DecoderWorkers::QueueDueLocked(DecoderJob::Clock::time_point now)
{
    for (std::size_t job = 0; job < m_jobs.size(); ++job) {
        if (m_state[job] == State::Idle && m_due[job] && *m_due[job] <= now)
            QueueLocked(job);
    }
}

std::optional<DecoderJob::Clock::time_point> DecoderWorkers::EarliestDueLocked() const
{
    std::optional<DecoderJob::Clock::time_point> earliest;
    for (const auto& due : m_due) {
        if (due && (!earliest || *due < *earliest))
            earliest = due;
    }
    return earliest;
}

void DecoderWorkers::Work()
{
    std::unique_lock guard(m_lock);
    while (!m_stopping) {
        QueueDueLocked(DecoderJob::Clock::now());
        if (m_readyCount == 0) {
            ++m_sleeping;
            if (const auto due = EarliestDueLocked())
                m_wake.wait_until(guard, *due);
            else
                m_wake.wait(guard);
            --m_sleeping;
            continue;
        }
        const std::size_t job = m_ready[m_readyHead];
        m_readyHead = (m_readyHead + 1) % m_ready.size();
        --m_readyCount;
        m_state[job] = State::Running;

        guard.unlock();
        const DecoderJob::Turn turn = m_jobs[job]->Run(DecoderJob::Clock::now());
        guard.lock();

        const bool woken = m_state[job] == State::RunningAndWoken;
        m_state[job] = State::Idle;
        if (turn.moreWork || woken) {
            QueueLocked(job);
            // This worker takes one queued job; a sleeping one takes another.
            if (m_readyCount > 1 && m_sleeping > 0)
                m_wake.notify_one();
        } else {
            m_due[job] = turn.at;
        }
    }
}
