#include "DvrctlEmulator.h"

#include "support/processes/FreePort.h"

#include <memory>

std::uint16_t DvrctlDiscoveryPort()
{
    static const std::uint16_t port = FreeUdpPort();
    return port;
}

EmulatorProcess* DvrctlEmulator(std::string* error)
{
    static std::unique_ptr<EmulatorProcess> emulator;
    static std::string startError;
    if (!emulator && startError.empty()) {
        // One-second camera loops keep the first encoding short.
        std::vector<EmulatorProcess::Recorder> recorders(kRecorderCount, {"MODEL_C", {"--loop-seconds", "1"}});
        recorders[kEight].model = "MODEL_B";
        recorders[kLossy].extraOptions.insert(recorders[kLossy].extraOptions.end(), {"--drop-fragments", "100"});
        recorders[kRefusing].extraOptions.insert(recorders[kRefusing].extraOptions.end(),
                                                 {"--refuse-op", "live", "--refuse-op", "log"});
        recorders[kRejecting].extraOptions.push_back("--reject-logins");
        recorders[kTampering].extraOptions.insert(recorders[kTampering].extraOptions.end(),
                                                  {"--tamper-datagrams", "15", "--repeat-datagrams", "15"});
        auto started = std::make_unique<EmulatorProcess>();
        if (started->Start(recorders, {"--discovery-port", std::to_string(DvrctlDiscoveryPort())}))
            emulator = std::move(started);
        else
            startError = started->Error();
    }
    *error = startError;
    return emulator.get();
}

std::vector<std::string> Connection(Recorder recorder, const std::string& account, const std::string& password)
{
    std::string ignored;
    EmulatorProcess* emulator = DvrctlEmulator(&ignored);
    const std::uint16_t port = emulator ? emulator->Port(recorder) : 0;
    return {"--host", "127.0.0.1", "--port", std::to_string(port), "--account", account, "--password", password};
}
