#include "bench/support/ProcessMeter.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace benchsupport {

namespace {

double Seconds(int who)
{
    rusage usage{};
    ::getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

double CpuSeconds()
{
    return Seconds(RUSAGE_SELF);
}

double ThreadCpuSeconds()
{
    return Seconds(RUSAGE_THREAD);
}

std::map<int, double> CpuSecondsByThread()
{
    std::map<int, double> byThread;
    const double tick = static_cast<double>(::sysconf(_SC_CLK_TCK));
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        std::ifstream stat(task.path() / "stat");
        std::string line;
        if (!std::getline(stat, line))
            continue;
        // The thread's name, in brackets, may hold spaces: the fields counted
        // from the third start after its closing bracket; utime and stime are
        // the 14th and 15th.
        const auto close = line.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream fields(line.substr(close + 1));
        std::string field;
        double utime = 0, stime = 0;
        for (int n = 3; n <= 15 && fields >> field; ++n) {
            if (n == 14)
                utime = std::atof(field.c_str());
            else if (n == 15)
                stime = std::atof(field.c_str());
        }
        byThread[std::atoi(task.path().filename().c_str())] = (utime + stime) / tick;
    }
    return byThread;
}

std::vector<std::pair<double, int>> ThreadCpuSince(const std::map<int, double>& start)
{
    std::vector<std::pair<double, int>> threads;
    for (const auto& [tid, cpu] : CpuSecondsByThread()) {
        const auto before = start.find(tid);
        threads.emplace_back(cpu - (before == start.end() ? 0.0 : before->second), tid);
    }
    std::sort(threads.rbegin(), threads.rend());
    return threads;
}

void PrintThreadCpu(const std::vector<std::pair<double, int>>& threads, int mainThread, const char* mainName)
{
    std::printf("threads (s cpu):");
    for (const auto& [cpu, tid] : threads) {
        if (cpu >= 0.01)
            std::printf(" %s%s%.2f", tid == mainThread ? mainName : "", tid == mainThread ? " " : "", cpu);
    }
    std::printf("\n");
}

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

double LoadAverage()
{
    std::ifstream loadavg("/proc/loadavg");
    double load = -1;
    loadavg >> load;
    return loadavg ? load : -1;
}

} // namespace benchsupport
