#include "EmulatorProcess.h"

#include "FreePort.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include <signal.h>

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
    m_recorders = recorders;
    m_globalOptions = globalOptions;
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

bool EmulatorProcess::startOnce(const std::vector<Recorder>& recorders, const std::vector<std::string>& globalOptions,
                                bool samePorts)
{
    char pattern[] = "/tmp/ombrel-emu-XXXXXX";
    if (!samePorts) {
        if (!::mkdtemp(pattern)) {
            m_error = "cannot make a data folder";
            return false;
        }
        m_dataRoot = pattern;
    }
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
        std::uint16_t port = samePorts ? m_ports.at(i) : FreeTcpPort();
        while (!samePorts && std::find(m_ports.begin(), m_ports.end(), port) != m_ports.end())
            port = FreeTcpPort();
        if (!samePorts)
            m_ports.push_back(port);
        std::string data = m_dataRoot + "/rec" + std::to_string(i);
        std::filesystem::create_directories(data);
        args.insert(args.end(), {"--listen", "127.0.0.1:" + std::to_string(port), "--model", recorders[i].model,
                                 "--data", data});
        args.insert(args.end(), recorders[i].extraOptions.begin(), recorders[i].extraOptions.end());
    }
    if (!m_process.Start(std::move(args), m_dataRoot + "/stdout.log", false, &m_error))
        return false;
    const auto allListening = [count = recorders.size()](const std::string& seen) {
        std::size_t listening = 0;
        for (std::size_t at = seen.find("listening "); at != std::string::npos; at = seen.find("listening ", at + 1))
            ++listening;
        return listening >= count;
    };
    // Encoding the camera loops the first time can take a while.
    if (!m_process.WaitForOutput(allListening, std::chrono::seconds(300))) {
        m_error = "emulator did not start listening; output: " + m_process.Output();
        Stop();
        return false;
    }
    return true;
}

bool EmulatorProcess::Restart()
{
    Stop();
    // The old log still says "listening": the new process must be heard.
    std::error_code ignored;
    std::filesystem::remove(m_dataRoot + "/stdout.log", ignored);
    return startOnce(m_recorders, m_globalOptions, true);
}

bool EmulatorProcess::Signal(int signal)
{
    return m_process.Running() && ::kill(m_process.Pid(), signal) == 0;
}

void EmulatorProcess::Stop()
{
    if (m_process.Running())
        m_exitStatus = m_process.Stop();
}
