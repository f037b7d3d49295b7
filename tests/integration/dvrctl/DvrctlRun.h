#pragma once

#include <chrono>
#include <string>
#include <vector>

// One finished run of dvrctl: exit status, what it printed and how long it took.
struct DvrctlRun {
    int status = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
    std::chrono::milliseconds elapsed{0};
};

// Runs build/bin/dvrctl with args; its output goes through files in folder,
// and its settings database is folder/registry.db unless DVR_REGISTRY names one.
DvrctlRun RunDvrctl(const std::vector<std::string>& args, const std::string& folder);
