#pragma once

#include "platform/decoder/DecoderJob.h"

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// A few threads serving many decoder jobs (about one thread per core for the
// sixteen channels): far fewer threads than channels means far fewer thread
// switches and cold caches than a thread per channel. A job runs on at most
// one worker at a time and its turns follow one another in order; jobs with
// work take turns first come, first served.
class DecoderWorkers {
public:
    // Starts `threads` workers (at least one) for the jobs, which must outlive
    // this object.
    DecoderWorkers(std::vector<DecoderJob*> jobs, unsigned threads);
    // Stops the workers after the turns they are running.
    ~DecoderWorkers();
    DecoderWorkers(const DecoderWorkers&) = delete;
    DecoderWorkers& operator=(const DecoderWorkers&) = delete;

    // The job has new work: it gets a turn (another one after the running one,
    // when it is running). Any thread.
    void Wake(std::size_t job);

    // One worker per core, at most one per job.
    static unsigned DefaultThreadCount(std::size_t jobs);

private:
    enum class State { Idle, Queued, Running, RunningAndWoken };

    void Work();
    void QueueLocked(std::size_t job);
    void QueueDueLocked(DecoderJob::Clock::time_point now);
    std::optional<DecoderJob::Clock::time_point> EarliestDueLocked() const;

    const std::vector<DecoderJob*> m_jobs;

    std::mutex m_lock;  // guards m_state, m_due, m_ready, m_sleeping, m_stopping
    std::condition_variable m_wake;
    std::vector<State> m_state;
    std::vector<std::optional<DecoderJob::Clock::time_point>> m_due;  // of idle jobs
    // Queued jobs, oldest first: a ring as long as the job list, since a
    // job is queued at most once.
    std::vector<std::size_t> m_ready;
    std::size_t m_readyHead = 0;
    std::size_t m_readyCount = 0;
    unsigned m_sleeping = 0;
    bool m_stopping = false;

    std::vector<std::thread> m_threads;  // last: they start once everything above exists
};
