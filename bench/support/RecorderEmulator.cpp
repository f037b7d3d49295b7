#include "bench/support/RecorderEmulator.h"

#include <filesystem>
#include <vector>

namespace benchsupport {

RecorderEmulator::~RecorderEmulator()
{
    Stop();
}

bool RecorderEmulator::Start(const std::string& program, const std::string& model, const std::string& folder,
                             std::string* error, long cameraBitRate, emulator::media::CameraContent content,
                             const std::vector<std::string>& extraArgs)
{
    Stop();
    std::filesystem::create_directories(folder + "/data");
    // Port 0: the emulator picks a free one and names it in its "listening" line.
    std::vector<std::string> args{program,       "--discovery-port", "0",   "--listen", "127.0.0.1:0",
                                  "--model",     model,              "--data", folder + "/data",
                                  "--camera-content", emulator::media::CameraContentName(content)};
    if (cameraBitRate > 0) {
        args.push_back("--camera-bitrate");
        args.push_back(std::to_string(cameraBitRate));
    }
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    if (!m_process.Start(std::move(args), folder + "/emulator.log", true, error))
        return false;
    // Encoding the camera loops the first time takes a while.
    if (m_process.WaitForOutput([](const std::string& seen) { return ListeningPort(seen) != 0; },
                                std::chrono::seconds(300))) {
        m_port = ListeningPort(m_process.Output());
        return true;
    }
    *error = "the recorder emulator did not start listening; it wrote: " + m_process.Output();
    Stop();
    return false;
}

void RecorderEmulator::Stop()
{
    m_process.Stop();
}

} // namespace benchsupport
