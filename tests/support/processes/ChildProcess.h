#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One program started by a test or benchmark, its output in a log file (a
// pipe nobody drains would stall it). It ends with the process that started
// it, and Stop or the destructor ends it with SIGTERM.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Runs args[0] with args; standard output, and standard error when
    // withErrors, go to logPath. False with *error when it cannot start.
    bool Start(std::vector<std::string> args, const std::string& logPath, bool withErrors, std::string* error);
    // Polls the log until ready(log) holds: true then; false when the program
    // ends or the time runs out first.
    bool WaitForOutput(const std::function<bool(const std::string&)>& ready, std::chrono::milliseconds timeout);
    // SIGTERM, and SIGKILL after 10 s; the exit status, or -1 when it did not
    // exit normally or was not running.
    int Stop();

    bool Running() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }
    // Everything it wrote to the log so far.
    std::string Output() const;

private:
    pid_t m_pid = -1;
    std::string m_logPath;
};

// The port of the first complete "listening 127.0.0.1:PORT" line in output;
// 0 when there is none yet.
std::uint16_t ListeningPort(const std::string& output);
