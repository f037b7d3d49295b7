#pragma once
// The dvr-emulator command line: per-recorder options (each --listen starts a
// recorder; options before the first --listen are defaults for all) and
// process-wide ones.

#include "core/net/WireFormat.h"
// Its aliases keep media::MediaLoop meaning the same inside namespace emulator.
#include "media/CameraFeeds.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace emulator {

struct FaultOptions {
    bool refuseConnections = false;   // close every connection at once, before the challenge
    uint32_t dropAfterFrames = 0;     // > 0: reset a session after it sent this many frames
    uint32_t disconnectAfterSeconds = 0;  // > 0: close each session this long after it connected
    uint32_t delayMs = 0;             // hold the client's requests this long before answering
    bool rejectLogins = false;        // every log-in gets "wrong password"
    int64_t stopPollsAfterSeconds = -1;  // >= 0: stop answering polls this long after connecting
    std::set<wire::MessageType> refusedOperations;  // answered "unsupported"
    uint16_t wireVersion = wire::kProtocolVersion;  // another: spoken in clear, as old recorders do
    uint32_t dropFragmentsPercent = 0;
    uint32_t reorderFragmentsPercent = 0;
    uint32_t corruptFragmentsPercent = 0;
    uint32_t tamperDatagramsPercent = 0;  // flip a byte of the sealed part of a UDP datagram
    uint32_t repeatDatagramsPercent = 0;  // send a UDP datagram twice
    uint64_t seed = 1;                // of the fault dice
};

struct RecorderOptions {
    std::string address = "127.0.0.1";
    uint16_t port = 7050;             // 0: any free port (the "listening" line says which)
    int model = 3;                    // DVR type code 1..6
    std::string dataDir;              // empty: the default folder for the port
    bool newTlsKey = false;           // replace the TLS key kept in the data folder
    uint32_t maxSessions = 8;
    uint32_t pollTimeoutSeconds = 10;
    uint64_t historySeed = 1;
    uint32_t alarmEverySeconds = 0;   // > 0: a sensor alarm on this period
    uint32_t alarmSeconds = 3;        // how long an alarm keeps its sensor active
    uint32_t loopSeconds = 0;         // camera loop length; 0: the cameras' default
    uint32_t cameraBitRate = 0;       // bit/s the camera loops reach; 0: the plain scene
    media::CameraContent cameraContent = media::CameraContent::Plain;
    std::string sendTimesPath;        // non-empty: write when each video unit left (benchmarks)
    FaultOptions faults;
};

struct EmulatorOptions {
    std::vector<RecorderOptions> recorders;
    uint16_t discoveryPort = 7060;    // 0: no discovery answers
    std::string cacheDir;
    bool help = false;
};

// Nullopt with *error set on a bad command line.
std::optional<EmulatorOptions> ParseEmulatorOptions(const std::vector<std::string>& args, std::string* error);
std::string EmulatorHelpText();
// "MODEL_C" or "3" -> 3; 0 when unknown.
int ParseModel(const std::string& text);
// Bits a second: digits, or with a k or M suffix also a fraction ("1500000",
// "4000k", "1.5M"). Nullopt when malformed, not a whole number of bits or
// outside the range the cameras can reach.
std::optional<uint32_t> ParseCameraBitRate(const std::string& text);

}  // namespace emulator
