#pragma once

#include <map>

// What this process costs: processor time and resident memory.

namespace benchsupport {

// User and system time of every thread of the process so far, in seconds.
double CpuSeconds();
// The same for the calling thread only.
double ThreadCpuSeconds();
// The same for each thread of the process by thread id, read from /proc.
std::map<int, double> CpuSecondsByThread();
// Resident memory in kB (VmRSS of /proc/self/status); -1 when unknown.
long ResidentKb();
// Load average of the last minute, to put a run's figures in context; -1 when unknown.
double LoadAverage();

} // namespace benchsupport
