#include "platform/decoder/DecoderWorkers.h"

#include "DecoderTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

using dectest::WaitFor;
using Clock = DecoderJob::Clock;

// Takes up to two items of work a turn and notes anything two workers would
// do to it at once.
class CountingJob : public DecoderJob {
public:
    Turn Run(Clock::time_point) override
    {
        if (m_inTurn.exchange(true))
            overlapped = true;
        int taken = 0;
        while (taken < 2 && waiting.load() > 0) {
            --waiting;
            ++done;
            ++taken;
        }
        ++turns;
        m_inTurn = false;
        return Turn{waiting.load() > 0, std::nullopt};
    }

    std::atomic<int> waiting{0};
    std::atomic<int> done{0};
    std::atomic<int> turns{0};
    std::atomic<bool> overlapped{false};

private:
    std::atomic<bool> m_inTurn{false};
};

TEST(DecoderWorkers, EveryWakeIsServedAndAJobNeverRunsOnTwoWorkersAtOnce)
{
    constexpr int kJobs = 16;
    constexpr int kItems = 3000;
    std::vector<std::unique_ptr<CountingJob>> jobs;
    std::vector<DecoderJob*> pointers;
    for (int i = 0; i < kJobs; ++i) {
        jobs.push_back(std::make_unique<CountingJob>());
        pointers.push_back(jobs.back().get());
    }
    DecoderWorkers workers(pointers, 3);
    std::vector<std::thread> producers;
    for (int p = 0; p < 2; ++p) {
        producers.emplace_back([&, p] {
            for (int i = 0; i < kItems; ++i) {
                const auto job = static_cast<std::size_t>((i * 7 + p) % kJobs);
                ++jobs[job]->waiting;
                workers.Wake(job);
                if (i % 64 == 0)
                    std::this_thread::yield();
            }
        });
    }
    for (auto& producer : producers)
        producer.join();
    EXPECT_TRUE(WaitFor([&] {
        int done = 0;
        for (const auto& job : jobs)
            done += job->done.load();
        return done == 2 * kItems;
    }));
    for (const auto& job : jobs)
        EXPECT_FALSE(job->overlapped.load());
    workers.Wake(kJobs);  // no such job: ignored
}

// Always has more work, like a channel fed faster than it decodes.
class EndlessJob : public DecoderJob {
public:
    Turn Run(Clock::time_point) override
    {
        ++turns;
        return Turn{true, std::nullopt};
    }
    std::atomic<int> turns{0};
};

TEST(DecoderWorkers, ABusyJobTakesTurnsWithTheOthersAndStillStops)
{
    EndlessJob busy;
    CountingJob other;
    {
        DecoderWorkers workers({&busy, &other}, 1);
        workers.Wake(0);
        ASSERT_TRUE(WaitFor([&] { return busy.turns.load() > 10; }));
        ++other.waiting;
        workers.Wake(1);
        ASSERT_TRUE(WaitFor([&] { return other.done.load() == 1; }));
    }
    EXPECT_EQ(other.turns.load(), 1);
}

// Asks to be run again a while after each turn, as a channel holding a
// picture back does.
class TimedJob : public DecoderJob {
public:
    explicit TimedJob(std::chrono::milliseconds after) : m_after(after) {}
    Turn Run(Clock::time_point now) override
    {
        times.push_back(now);
        ++runs;
        if (times.size() >= 3)
            return Turn{};
        return Turn{false, now + m_after};
    }
    std::vector<Clock::time_point> times;  // read once the workers are gone
    std::atomic<int> runs{0};

private:
    std::chrono::milliseconds m_after;
};

TEST(DecoderWorkers, AJobIsRunAgainAtTheTimeItAskedForAndStoppingDoesNotWaitForIt)
{
    TimedJob timed(std::chrono::milliseconds(30));
    {
        DecoderWorkers workers({&timed}, 2);
        workers.Wake(0);
        ASSERT_TRUE(WaitFor([&] { return timed.runs.load() == 3; }));
    }
    ASSERT_EQ(timed.times.size(), 3u);
    EXPECT_GE(timed.times[1] - timed.times[0], std::chrono::milliseconds(30));
    EXPECT_GE(timed.times[2] - timed.times[1], std::chrono::milliseconds(30));

    TimedJob distant(std::chrono::hours(1));
    const auto start = Clock::now();
    {
        DecoderWorkers workers({&distant}, 2);
        workers.Wake(0);
        ASSERT_TRUE(WaitFor([&] { return distant.runs.load() == 1; }));
    }
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

} // namespace
