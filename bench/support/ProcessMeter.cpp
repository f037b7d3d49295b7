#include "bench/support/ProcessMeter.h"

#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
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
