#pragma once

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "support/TempDir.h"

// Runs a program to its end with extra environment variables (NAME=VALUE) and
// returns its exit status (-1 when it could not run, timed out or was killed)
// with what it printed.
struct ProgramResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                                const std::vector<std::string>& extraEnv, int timeoutSeconds = 30)
{
    TempDir dir;
    std::string outPath = dir / "out";
    std::string errPath = dir / "err";
    pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen(outPath.c_str(), "w", stdout);
        std::freopen(errPath.c_str(), "w", stderr);
        for (const auto& kv : extraEnv)
            ::putenv(const_cast<char*>(kv.c_str()));
        std::vector<char*> argv {const_cast<char*>(program.c_str())};
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ProgramResult result;
    if (pid < 0)
        return result;
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            status = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (status != -1 && WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    auto slurp = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    };
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    return result;
}
