#include "EmulatorProcess.h"

#include "FreePort.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

EmulatorProcess::~EmulatorProcess()
{
    Stop();
    if (!m_dataRoot.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_dataRoot, ignored);
    }
}

bool EmulatorProcess::Start(const std::vector<Recorder>& recorders, const std::vector<std::string>& globalOptions)
{
    // A free port can be taken by a test running beside this one before the
    // emulator binds it: then it cannot listen, and another try picks anew.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (startOnce(recorders, globalOptions))
            return true;
        std::error_code ignored;
        std::filesystem::remove_all(m_dataRoot, ignored);
        m_dataRoot.clear();
        m_ports.clear();
    }
    return false;
}

bool EmulatorProcess::startOnce(const std::vector<Recorder>& recorders, const std::vector<std::string>& globalOptions)
{
    char pattern[] = "/tmp/ombrel-emu-XXXXXX";
    if (!::mkdtemp(pattern)) {
        m_error = "cannot make a data folder";
        return false;
    }
    m_dataRoot = pattern;
    std::vector<std::string> args{std::string(OMBREL_BIN_DIR) + "/dvr-emulator"};
    args.insert(args.end(), globalOptions.begin(), globalOptions.end());
    bool hasCache = false;
    for (const std::string& option : globalOptions)
        hasCache = hasCache || option == "--cache";
    if (!hasCache) {
        // One shared cache keeps the encoded camera loops between test runs.
        args.push_back("--cache");
        args.push_back(std::string(::getenv("TMPDIR") ? ::getenv("TMPDIR") : "/tmp") + "/ombrel-test-media-cache");
    }
    for (std::size_t i = 0; i < recorders.size(); ++i) {
        std::uint16_t port = FreeTcpPort();
        while (std::find(m_ports.begin(), m_ports.end(), port) != m_ports.end())
            port = FreeTcpPort();
        m_ports.push_back(port);
        std::string data = m_dataRoot + "/rec" + std::to_string(i);
        std::filesystem::create_directories(data);
        args.insert(args.end(), {"--listen", "127.0.0.1:" + std::to_string(port), "--model", recorders[i].model,
                                 "--data", data});
        args.insert(args.end(), recorders[i].extraOptions.begin(), recorders[i].extraOptions.end());
    }
    // Output goes to a file: a pipe nobody drains would stall or kill it later.
    std::string logPath = m_dataRoot + "/stdout.log";
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t parent = ::getpid();
    m_pid = ::fork();
    if (m_pid == 0) {
        // A test that crashes must not leave its recorder running.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        int out = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (out < 0 || ::dup2(out, 1) < 0)
            ::_exit(127);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (m_pid < 0) {
        m_pid = -1;
        m_error = "cannot start " + args[0];
        return false;
    }
    // Encoding the camera loops the first time can take a while.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(300);
    std::string seen;
    std::size_t listening = 0;
    while (listening < recorders.size() && std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            break;
        }
        ::usleep(20000);
        std::ifstream log(logPath);
        seen.assign(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
        listening = 0;
        for (std::size_t at = seen.find("listening "); at != std::string::npos; at = seen.find("listening ", at + 1))
            ++listening;
    }
    if (listening < recorders.size()) {
        m_error = "emulator did not start listening; output: " + seen;
        Stop();
        return false;
    }
    return true;
}

void EmulatorProcess::Stop()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (::waitpid(m_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
            break;
        }
        ::usleep(10000);
    }
    m_exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    m_pid = -1;
}
