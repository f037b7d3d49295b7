#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/status/CPerfMon.h"
#include "support/TempDir.h"

namespace {

void Write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

TEST(PerfMon, ReadsTheHostsCounters)
{
    CPerfMon perfMon;
    ASSERT_TRUE(perfMon.Open());
    // Keep a processor busy long enough for the kernel to count some ticks.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(60);
    volatile unsigned spin = 0;
    while (std::chrono::steady_clock::now() < until)
        spin = spin + 1;
    ASSERT_TRUE(perfMon.Collect());
    EXPECT_GE(perfMon.Value(), 0);
    EXPECT_LE(perfMon.Value(), 100);
    ASSERT_TRUE(perfMon.Statistics());
    EXPECT_EQ(perfMon.Statistics()->minimum, perfMon.Value());
}

TEST(PerfMon, MissingOrUnusableCountersFailWithoutBreakingTheNextReading)
{
    TempDir dir;
    const std::string path = dir / "stat";
    CPerfMon perfMon(path);
    EXPECT_FALSE(perfMon.Open());
    Write(path, "");
    EXPECT_FALSE(perfMon.Open());
    EXPECT_FALSE(CPerfMon(dir.path()).Open());  // a folder is not a counter file

    Write(path, "cpu  100 0 0 100 0 0 0 0 0 0\n");
    ASSERT_TRUE(perfMon.Open());
    Write(path, "cpu  150 0 0 150 0 0 0 0 0 0\n");
    ASSERT_TRUE(perfMon.Collect());
    EXPECT_EQ(perfMon.Value(), 50);

    Write(path, "not the counters\n");
    EXPECT_TRUE(perfMon.Collect());  // read, but nothing to use
    EXPECT_EQ(perfMon.Value(), CpuLoadSampler::kFailure);

    std::filesystem::remove(path);
    EXPECT_FALSE(perfMon.Collect());
    EXPECT_EQ(perfMon.Value(), CpuLoadSampler::kFailure);

    Write(path, "cpu  250 0 0 150 0 0 0 0 0 0\n");
    ASSERT_TRUE(perfMon.Collect());
    EXPECT_EQ(perfMon.Value(), 100);
    // Failures are not statistics.
    EXPECT_EQ(perfMon.Statistics(), (LoadSummary{50, 100, 75}));
}

} // namespace
