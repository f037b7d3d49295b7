#include <gtest/gtest.h>

#include <string>

#include "core/status/CpuLoadSampler.h"
#include "core/status/CpuTicks.h"
#include "core/status/LoadStatistics.h"

namespace {

// The head of a real /proc/stat; only the aggregate line counts.
std::string ProcStat(const std::string& aggregate)
{
    return "cpu  " + aggregate +
           "\n"
           "cpu0 999 999 999 999 999 999 999 999 0 0\n"
           "intr 123 4 5\nctxt 456\n";
}

TEST(CpuTicks, ReadsTheAggregateLineWithAndWithoutTheNewerFields)
{
    // user nice system idle iowait irq softirq steal guest guest_nice
    auto full = ParseCpuTicks(ProcStat("10 20 30 400 50 6 7 8 900 900"));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->idle, 450u);
    EXPECT_EQ(full->total, 531u);  // guest time is already part of user and nice

    auto old = ParseCpuTicks("cpu 1 2 3 4\n");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->idle, 4u);
    EXPECT_EQ(old->total, 10u);

    // The aggregate line need not come first, and CRLF line ends do no harm.
    auto later = ParseCpuTicks("intr 1\r\ncpu\t1 2 3 4 5\r\n");
    ASSERT_TRUE(later);
    EXPECT_EQ(later->total, 15u);
}

TEST(CpuTicks, RejectsTextThatIsNotAUsableAggregateLine)
{
    for (const char* text : {"", "cpu", "cpu \n", "cpu 1 2 3\n", "cpu0 1 2 3 4\n", "cpux 1 2 3 4\n",
                             "cpu 1 2 x 4\n", "cpu 1 2 3 -4\n", "cpu 1 2 3 4x\n", "cpu 1 2 3 +4\n",
                             "cpu 99999999999999999999 2 3 4\n",            // does not fit in 64 bits
                             "cpu 18446744073709551615 1 0 0\n",            // the sum does not
                             "intr 1 2 3 4\n"})
        EXPECT_FALSE(ParseCpuTicks(text)) << text;
}

TEST(CpuLoadSampler, GivesTheBusyShareOfTheTicksBetweenTwoReadings)
{
    CpuLoadSampler sampler;
    EXPECT_EQ(sampler.Sample(ProcStat("100 0 100 800 0 0 0 0 0 0")), CpuLoadSampler::kFailure);  // no base yet
    // 200 ticks pass: 50 user, 25 system, 100 idle, 25 iowait -> 75 busy.
    EXPECT_EQ(sampler.Sample(ProcStat("150 0 125 900 25 0 0 0 0 0")), 38);  // 37.5 rounds up
    EXPECT_EQ(sampler.Sample(ProcStat("250 0 125 900 25 0 0 0 0 0")), 100);
    EXPECT_EQ(sampler.Sample(ProcStat("250 0 125 1000 25 0 0 0 0 0")), 0);
}

TEST(CpuLoadSampler, FailsWithoutLosingItsBaseAndStaysWithinRange)
{
    CpuLoadSampler sampler;
    sampler.Sample(ProcStat("100 0 0 100 0 0 0 0 0 0"));
    EXPECT_EQ(sampler.Sample("garbage"), CpuLoadSampler::kFailure);
    EXPECT_EQ(sampler.Sample(ProcStat("150 0 0 150 0 0 0 0 0 0")), 50);  // measured from the last good reading

    EXPECT_EQ(sampler.Sample(ProcStat("150 0 0 150 0 0 0 0 0 0")), CpuLoadSampler::kFailure);  // no ticks passed
    // Counters that go back start a new base rather than a negative load.
    EXPECT_EQ(sampler.Sample(ProcStat("10 0 0 10 0 0 0 0 0 0")), CpuLoadSampler::kFailure);
    EXPECT_EQ(sampler.Sample(ProcStat("20 0 0 20 0 0 0 0 0 0")), 50);
    // Idle stepping back a little (tickless kernels) reads as fully busy, not above 100.
    EXPECT_EQ(sampler.Sample(ProcStat("40 0 0 19 0 0 0 0 0 0")), 100);
}

TEST(LoadStatistics, SummarisesTheRecentValuesOnly)
{
    LoadStatistics statistics;
    EXPECT_FALSE(statistics.Summary());
    statistics.Add(10);
    statistics.Add(0);
    statistics.Add(25);
    EXPECT_EQ(statistics.Summary(), (LoadSummary{0, 25, 12}));  // 35 / 3 = 11.67

    for (size_t i = 0; i < LoadStatistics::kWindow; ++i)
        statistics.Add(50);
    EXPECT_EQ(statistics.Summary(), (LoadSummary{50, 50, 50}));
}

} // namespace
