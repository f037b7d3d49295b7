#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/CameraContent.h"
#include "tests/support/processes/ChildProcess.h"

namespace benchsupport {

// A dvr-emulator process serving one recorder on a free loopback port, its
// settings in a folder of its own. Stopped (SIGTERM)
// by Stop or the destructor.
class RecorderEmulator {
public:
    RecorderEmulator() = default;
    ~RecorderEmulator();
    RecorderEmulator(const RecorderEmulator&) = delete;
    RecorderEmulator& operator=(const RecorderEmulator&) = delete;

    // Starts `program` with the model and waits (encoding the camera loops
    // takes a while) for its "listening" line. False with *error when it
    // does not come. cameraBitRate: bits a second each camera's loop
    // reaches (100000..20000000); 0 keeps the content's own rate. The loops
    // are kept in the emulator's default cache, where MakeEmulatorLoops
    // finds the same ones. extraArgs go on the emulator's command line after
    // the rest.
    bool Start(const std::string& program, const std::string& model, const std::string& folder, std::string* error,
               long cameraBitRate = 0, emulator::media::CameraContent content = emulator::media::CameraContent::Plain,
               const std::vector<std::string>& extraArgs = {});
    void Stop();

    std::uint16_t Port() const { return m_port; }

private:
    ChildProcess m_process;
    std::uint16_t m_port = 0;
};

} // namespace benchsupport
