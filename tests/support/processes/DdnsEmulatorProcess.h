#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ChildProcess.h"

// One real ddns-emulator process on a free loopback port. Start() waits for
// its "listening" line; the destructor stops it with SIGTERM.
class DdnsEmulatorProcess {
public:
    DdnsEmulatorProcess();
    ~DdnsEmulatorProcess();
    DdnsEmulatorProcess(const DdnsEmulatorProcess&) = delete;
    DdnsEmulatorProcess& operator=(const DdnsEmulatorProcess&) = delete;

    // options follow "--listen 127.0.0.1:0" (the emulator picks the port).
    bool Start(const std::vector<std::string>& options);
    // Sends SIGTERM and waits; the exit status, or -1 when it did not exit normally.
    int Stop();

    std::uint16_t Port() const { return m_port; }
    // Everything it printed so far.
    std::string Output() const;
    // Its "query" lines so far.
    int QueryCount() const;
    const std::string& Error() const { return m_error; }

private:
    ChildProcess m_process;
    std::uint16_t m_port = 0;
    std::string m_folder;
    std::string m_error;
};
