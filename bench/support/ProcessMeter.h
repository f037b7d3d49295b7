#pragma once

#include <map>
#include <utility>
#include <vector>

// What this process costs: processor time and resident memory.

namespace benchsupport {

// User and system time of every thread of the process so far, in seconds.
double CpuSeconds();
// The same for the calling thread only.
double ThreadCpuSeconds();
// The same for each thread of the process by thread id, read from /proc.
std::map<int, double> CpuSecondsByThread();
// Each thread's time since `start` (a CpuSecondsByThread reading) as seconds
// and thread id, most first.
std::vector<std::pair<double, int>> ThreadCpuSince(const std::map<int, double>& start);
// Prints those of at least 10 ms on one line, naming `mainThread` (a thread id) as `mainName`.
void PrintThreadCpu(const std::vector<std::pair<double, int>>& threads, int mainThread, const char* mainName);
// Resident memory in kB (VmRSS of /proc/self/status); -1 when unknown.
long ResidentKb();
// Load average of the last minute, to put a run's figures in context; -1 when unknown.
double LoadAverage();

} // namespace benchsupport
