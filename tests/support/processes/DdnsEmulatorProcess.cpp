#include "DdnsEmulatorProcess.h"

#include <cstdlib>
#include <filesystem>

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
    if (!m_process.Start(std::move(args), m_folder + "/stdout.log", false, &m_error))
        return false;
    if (m_process.WaitForOutput([](const std::string& seen) { return ListeningPort(seen) != 0; },
                                std::chrono::seconds(10))) {
        m_port = ListeningPort(m_process.Output());
        return true;
    }
    m_error = m_process.Running() ? "emulator did not start listening"
                                  : "emulator ended before listening; output: " + m_process.Output();
    m_process.Stop();
    return false;
}

int DdnsEmulatorProcess::Stop()
{
    return m_process.Stop();
}

std::string DdnsEmulatorProcess::Output() const
{
    return m_process.Output();
}

int DdnsEmulatorProcess::QueryCount() const
{
    const std::string text = Output();
    int count = 0;
    for (std::size_t at = text.find("query "); at != std::string::npos; at = text.find("query ", at + 1))
        ++count;
    return count;
}
