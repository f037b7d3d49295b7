#include "ViewerEmulator.h"

#include <cstdlib>
#include <memory>

EmulatorProcess* ViewerEmulator(std::string* error)
{
    static std::unique_ptr<EmulatorProcess> emulator;
    static std::string startError;
    if (!emulator && startError.empty()) {
        // Silent recorders are noticed after three seconds, not the LAN default.
        ::setenv("OMBREL_NET_TIMEOUT_MS", "3000", 1);
        std::vector<EmulatorProcess::Recorder> recorders(kRecorderCount, {"MODEL_F", {}});
        recorders[kFourC].extraOptions = {"--poll-timeout", "2"};
        recorders[kSixteen].model = "MODEL_C";
        recorders[kPaired].model = "MODEL_E";
        recorders[kEight].model = "MODEL_B";
        recorders[kRejecting].extraOptions = {"--reject-logins"};
        recorders[kOneSession].extraOptions = {"--max-sessions", "1"};
        recorders[kOtherVersion].extraOptions = {"--wire-version", "1"};
        recorders[kSilent].extraOptions = {"--stop-polls-after", "0"};
        recorders[kAlarming].extraOptions = {"--alarm-every", "1", "--alarm-length", "2"};
        auto started = std::make_unique<EmulatorProcess>();
        if (started->Start(recorders, {"--discovery-port", "0"}))
            emulator = std::move(started);
        else
            startError = started->Error();
    }
    *error = startError;
    return emulator.get();
}
