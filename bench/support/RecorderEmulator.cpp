#include "bench/support/RecorderEmulator.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace benchsupport {

RecorderEmulator::~RecorderEmulator()
{
    Stop();
}

bool RecorderEmulator::Start(const std::string& program, const std::string& model, const std::string& folder,
                             std::string* error)
{
    Stop();
    m_folder = folder;
    std::filesystem::create_directories(folder + "/data");
    const std::string logPath = folder + "/emulator.log";
    // Port 0: the emulator picks a free one and names it in its "listening" line.
    std::vector<std::string> args{program,    "--discovery-port", "0",     "--cache", CacheDir(),
                                  "--listen", "127.0.0.1:0",      "--model", model,   "--data",
                                  folder + "/data"};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    m_pid = ::fork();
    if (m_pid == 0) {
        // A benchmark that dies must not leave its recorder running.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        // Output goes to a file: a pipe nobody drains would stall it.
        const int out = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (out < 0 || ::dup2(out, 1) < 0 || ::dup2(out, 2) < 0)
            ::_exit(127);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (m_pid < 0) {
        m_pid = -1;
        *error = "cannot start " + program;
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(300);
    std::string seen;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            break;
        }
        std::ifstream log(logPath);
        seen.assign(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
        const std::string prefix = "listening 127.0.0.1:";
        const std::size_t at = seen.find(prefix);
        if (at != std::string::npos && seen.find('\n', at) != std::string::npos) {
            m_port = static_cast<std::uint16_t>(std::atoi(seen.c_str() + at + prefix.size()));
            return m_port != 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    *error = "the recorder emulator did not start listening; it wrote: " + seen;
    Stop();
    return false;
}

void RecorderEmulator::Stop()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (::waitpid(m_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_pid = -1;
}

} // namespace benchsupport
