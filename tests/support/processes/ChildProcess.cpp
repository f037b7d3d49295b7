#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

ChildProcess::~ChildProcess()
{
    Stop();
}

bool ChildProcess::Start(std::vector<std::string> args, const std::string& logPath, bool withErrors,
                         std::string* error)
{
    Stop();
    m_logPath = logPath;
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    m_pid = ::fork();
    if (m_pid == 0) {
        // A caller that crashes must not leave its child running.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        const int out = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (out < 0 || ::dup2(out, STDOUT_FILENO) < 0 || (withErrors && ::dup2(out, STDERR_FILENO) < 0))
            ::_exit(127);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (m_pid < 0) {
        m_pid = -1;
        *error = "cannot start " + args[0];
        return false;
    }
    return true;
}

bool ChildProcess::WaitForOutput(const std::function<bool(const std::string&)>& ready,
                                 std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (m_pid > 0 && std::chrono::steady_clock::now() < deadline) {
        if (ready(Output()))
            return true;
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            // What it wrote just before ending still counts.
            return ready(Output());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

int ChildProcess::Stop()
{
    if (m_pid <= 0)
        return -1;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (::waitpid(m_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ChildProcess::Output() const
{
    std::ifstream log(m_logPath);
    return std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
}

std::uint16_t ListeningPort(const std::string& output)
{
    static const std::string prefix = "listening 127.0.0.1:";
    const std::size_t at = output.find(prefix);
    if (at == std::string::npos || output.find('\n', at) == std::string::npos)
        return 0;
    const long port = std::atol(output.c_str() + at + prefix.size());
    return port > 0 && port <= 65535 ? static_cast<std::uint16_t>(port) : 0;
}
