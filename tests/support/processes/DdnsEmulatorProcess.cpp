#include "DdnsEmulatorProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

DdnsEmulatorProcess::DdnsEmulatorProcess()
{
    char pattern[] = "/tmp/ombrel-ddns-XXXXXX";
    if (::mkdtemp(pattern))
        m_folder = pattern;
}

DdnsEmulatorProcess::~DdnsEmulatorProcess()
{
    Stop();
    if (!m_folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
}

bool DdnsEmulatorProcess::Start(const std::vector<std::string>& options)
{
    if (m_folder.empty()) {
        m_error = "no temporary folder";
        return false;
    }
    std::vector<std::string> args{std::string(OMBREL_BIN_DIR) + "/ddns-emulator", "--listen", "127.0.0.1:0"};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const std::string logPath = m_folder + "/stdout.log";
    // Output goes to a file: a pipe nobody drains could stall it.
    m_pid = ::fork();
    if (m_pid == 0) {
        const int log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log < 0 || ::dup2(log, STDOUT_FILENO) < 0)
            ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (m_pid < 0) {
        m_error = "fork failed";
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string seen = Output();
        const std::size_t at = seen.find("listening 127.0.0.1:");
        const std::size_t end = seen.find('\n', at);
        if (at != std::string::npos && end != std::string::npos) {
            m_port = static_cast<std::uint16_t>(std::atoi(seen.c_str() + at + 20));
            return m_port != 0;
        }
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_error = "emulator ended before listening; output: " + seen;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_error = "emulator did not start listening";
    Stop();
    return false;
}

int DdnsEmulatorProcess::Stop()
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

std::string DdnsEmulatorProcess::Output() const
{
    std::ifstream log(m_folder + "/stdout.log");
    return std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
}

int DdnsEmulatorProcess::QueryCount() const
{
    const std::string text = Output();
    int count = 0;
    for (std::size_t at = text.find("query "); at != std::string::npos; at = text.find("query ", at + 1))
        ++count;
    return count;
}
