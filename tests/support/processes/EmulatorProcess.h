#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ChildProcess.h"

// One real dvr-emulator process on loopback for a test. Start() waits for its
// "listening" lines; the destructor stops it with SIGTERM.
class EmulatorProcess {
public:
    struct Recorder {
        std::string model = "MODEL_C";
        std::vector<std::string> extraOptions;  // placed after this recorder's --listen
    };

    EmulatorProcess() = default;
    ~EmulatorProcess();
    EmulatorProcess(const EmulatorProcess&) = delete;
    EmulatorProcess& operator=(const EmulatorProcess&) = delete;

    // Starts one process serving the given recorders on fresh loopback ports.
    // globalOptions go before the first --listen (e.g. --discovery-port).
    bool Start(const std::vector<Recorder>& recorders, const std::vector<std::string>& globalOptions = {});
    void Stop();
    // Stops it and starts it again with the same recorders on the same ports
    // (a recorder that was switched off and on).
    bool Restart();
    // Sends a signal to the process (SIGSTOP freezes every recorder, SIGCONT
    // lets them go on).
    bool Signal(int signal);
    // Exit status after Stop(); -1 when it did not exit normally.
    int ExitStatus() const { return m_exitStatus; }

    std::uint16_t Port(std::size_t recorder = 0) const { return m_ports.at(recorder); }
    const std::string& DataDir() const { return m_dataRoot; }
    const std::string& Error() const { return m_error; }

private:
    bool startOnce(const std::vector<Recorder>& recorders, const std::vector<std::string>& globalOptions,
                   bool samePorts = false);

    ChildProcess m_process;
    int m_exitStatus = -1;
    std::vector<std::uint16_t> m_ports;
    std::string m_dataRoot;
    std::string m_error;
    std::vector<Recorder> m_recorders;
    std::vector<std::string> m_globalOptions;
};
