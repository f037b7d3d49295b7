#include "EmulatorOptions.h"

#include "core/dvr/DvrModel.h"
#include "media/CameraFeeds.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <map>
#include <type_traits>

namespace emulator {
namespace {

std::string HomeFolder(const char* xdgVariable, const char* fallback)
{
    if (const char* xdg = std::getenv(xdgVariable); xdg && *xdg)
        return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/" + fallback;
}

template <typename T>
bool ParseNumber(const std::string& text, T min, T max, T* out)
{
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return false;
    *out = value;
    return true;
}

bool IsLoopback(const std::string& address)
{
    in_addr a{};
    return inet_pton(AF_INET, address.c_str(), &a) == 1 && (ntohl(a.s_addr) >> 24) == 127;
}

std::optional<wire::MessageType> OperationByName(const std::string& name)
{
    static const std::map<std::string, wire::MessageType> kOperations = {
        {"settings", wire::MessageType::GetSettings},    {"write", wire::MessageType::WriteSection},
        {"live", wire::MessageType::LiveControl},        {"serial", wire::MessageType::SerialData},
        {"log", wire::MessageType::LogOpen},             {"month", wire::MessageType::MonthProfileRequest},
        {"daily", wire::MessageType::DailyProfileRequest}, {"upload", wire::MessageType::UploadStart},
    };
    const auto it = kOperations.find(name);
    if (it == kOperations.end())
        return std::nullopt;
    return it->second;
}

bool AllDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

}  // namespace

std::optional<uint32_t> ParseCameraBitRate(const std::string& text)
{
    uint64_t scale = 1;
    size_t digitsOfScale = 0;
    std::string number = text;
    if (!number.empty() && (number.back() == 'k' || number.back() == 'M')) {
        scale = number.back() == 'k' ? 1000 : 1000000;
        digitsOfScale = number.back() == 'k' ? 3 : 6;
        number.pop_back();
    }
    const size_t point = number.find('.');
    const std::string whole = number.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : number.substr(point + 1);
    // Nine digits already pass the range; the bound keeps the sum below from overflowing.
    if (whole.empty() || whole.size() > 9 || !AllDigits(whole) || !AllDigits(fraction))
        return std::nullopt;
    if (point != std::string::npos && (fraction.empty() || fraction.size() > digitsOfScale))
        return std::nullopt;  // a point without k or M, or a fraction of a bit
    uint64_t bits = std::stoull(whole) * scale;
    if (!fraction.empty()) {
        uint64_t unit = scale;
        for (size_t i = 0; i < fraction.size(); ++i)
            unit /= 10;
        bits += std::stoull(fraction) * unit;
    }
    if (bits < uint64_t{media::kMinCameraBitRate} || bits > uint64_t{media::kMaxCameraBitRate})
        return std::nullopt;
    return static_cast<uint32_t>(bits);
}

int ParseModel(const std::string& text)
{
    for (const DvrModelInfo& m : DvrModels())
        if (text == m.name || text == std::to_string(m.typeCode))
            return m.typeCode;
    return 0;
}

std::optional<EmulatorOptions> ParseEmulatorOptions(const std::vector<std::string>& args, std::string* error)
{
    EmulatorOptions options;
    options.cacheDir = HomeFolder("XDG_CACHE_HOME", ".cache") + "/ombrel/emulator";
    RecorderOptions defaults;
    RecorderOptions* current = &defaults;
    bool sawListen = false;

    const auto fail = [&](const std::string& message) -> std::optional<EmulatorOptions> {
        *error = message;
        return std::nullopt;
    };

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        // Numeric option into *out within [min, max].
        const auto number = [&](auto* out, auto min, auto max) -> bool {
            const auto v = value();
            using T = std::remove_pointer_t<decltype(out)>;
            return v && ParseNumber<T>(*v, static_cast<T>(min), static_cast<T>(max), out);
        };
        FaultOptions& f = current->faults;

        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--listen") {
            const auto v = value();
            if (!v)
                return fail("--listen needs ADDRESS:PORT or PORT");
            options.recorders.push_back(defaults);
            current = &options.recorders.back();
            sawListen = true;
            const auto colon = v->rfind(':');
            const std::string host = colon == std::string::npos ? "127.0.0.1" : v->substr(0, colon);
            const std::string port = colon == std::string::npos ? *v : v->substr(colon + 1);
            if (!IsLoopback(host))
                return fail("--listen " + *v + ": only loopback addresses (127.x.x.x) are served");
            if (!ParseNumber<uint16_t>(port, 0, 65535, &current->port))
                return fail("--listen " + *v + ": bad port");
            current->address = host;
        } else if (arg == "--model") {
            const auto v = value();
            if (!v || !(current->model = ParseModel(*v)))
                return fail("--model needs MODEL_A..MODEL_F (or 1..6)");
        } else if (arg == "--data") {
            const auto v = value();
            if (!v || v->empty())
                return fail("--data needs a folder");
            current->dataDir = *v;
        } else if (arg == "--new-tls-key") {
            current->newTlsKey = true;
        } else if (arg == "--max-sessions") {
            if (!number(&current->maxSessions, 1, 64))
                return fail("--max-sessions needs 1..64");
        } else if (arg == "--poll-timeout") {
            if (!number(&current->pollTimeoutSeconds, 1, 3600))
                return fail("--poll-timeout needs 1..3600 seconds");
        } else if (arg == "--seed") {
            if (!number(&current->historySeed, 0, UINT64_MAX))
                return fail("--seed needs a number");
        } else if (arg == "--alarm-every") {
            if (!number(&current->alarmEverySeconds, 0, 86400))
                return fail("--alarm-every needs 0..86400 seconds");
        } else if (arg == "--alarm-length") {
            if (!number(&current->alarmSeconds, 1, 3600))
                return fail("--alarm-length needs 1..3600 seconds");
        } else if (arg == "--loop-seconds") {
            if (!number(&current->loopSeconds, 1, 60))
                return fail("--loop-seconds needs 1..60 seconds");
        } else if (arg == "--camera-bitrate") {
            const auto v = value();
            const auto bits = v ? ParseCameraBitRate(*v) : std::nullopt;
            if (!bits)
                return fail("--camera-bitrate needs 100k..20M bits a second (digits, or with k or M: 4000k, 1.5M)");
            current->cameraBitRate = *bits;
        } else if (arg == "--camera-content") {
            const auto v = value();
            const auto content = v ? media::ParseCameraContent(*v) : std::nullopt;
            if (!content)
                return fail("--camera-content needs plain or hard");
            current->cameraContent = *content;
        } else if (arg == "--send-times") {
            const auto v = value();
            if (!v || v->empty())
                return fail("--send-times needs a file");
            current->sendTimesPath = *v;
        } else if (arg == "--refuse-connections") {
            f.refuseConnections = true;
        } else if (arg == "--drop-after-frames") {
            if (!number(&f.dropAfterFrames, 1, 1000000000))
                return fail("--drop-after-frames needs a count of 1 or more");
        } else if (arg == "--disconnect-after") {
            if (!number(&f.disconnectAfterSeconds, 1, 86400))
                return fail("--disconnect-after needs 1..86400 seconds");
        } else if (arg == "--delay") {
            if (!number(&f.delayMs, 0, 60000))
                return fail("--delay needs 0..60000 milliseconds");
        } else if (arg == "--reject-logins") {
            f.rejectLogins = true;
        } else if (arg == "--stop-polls-after") {
            if (!number(&f.stopPollsAfterSeconds, 0, 86400))
                return fail("--stop-polls-after needs 0..86400 seconds");
        } else if (arg == "--refuse-op") {
            const auto v = value();
            const auto op = v ? OperationByName(*v) : std::nullopt;
            if (!op)
                return fail("--refuse-op needs one of settings, write, live, serial, log, month, daily, upload");
            f.refusedOperations.insert(*op);
        } else if (arg == "--wire-version") {
            if (!number(&f.wireVersion, 0, 65535))
                return fail("--wire-version needs 0..65535");
        } else if (arg == "--drop-fragments") {
            if (!number(&f.dropFragmentsPercent, 0, 100))
                return fail("--drop-fragments needs 0..100 percent");
        } else if (arg == "--reorder-fragments") {
            if (!number(&f.reorderFragmentsPercent, 0, 100))
                return fail("--reorder-fragments needs 0..100 percent");
        } else if (arg == "--corrupt-fragments") {
            if (!number(&f.corruptFragmentsPercent, 0, 100))
                return fail("--corrupt-fragments needs 0..100 percent");
        } else if (arg == "--tamper-datagrams") {
            if (!number(&f.tamperDatagramsPercent, 0, 100))
                return fail("--tamper-datagrams needs 0..100 percent");
        } else if (arg == "--repeat-datagrams") {
            if (!number(&f.repeatDatagramsPercent, 0, 100))
                return fail("--repeat-datagrams needs 0..100 percent");
        } else if (arg == "--fault-seed") {
            if (!number(&f.seed, 0, UINT64_MAX))
                return fail("--fault-seed needs a number");
        } else if (arg == "--discovery-port") {
            if (!number(&options.discoveryPort, 0, 65535))
                return fail("--discovery-port needs 0..65535");
        } else if (arg == "--cache") {
            const auto v = value();
            if (!v || v->empty())
                return fail("--cache needs a folder");
            options.cacheDir = *v;
        } else {
            return fail("unknown option " + arg + " (see --help)");
        }
    }
    if (!sawListen)
        options.recorders.push_back(defaults);
    std::set<std::pair<std::string, uint16_t>> endpoints;
    std::set<std::string> folders;
    for (RecorderOptions& r : options.recorders) {
        if (r.dataDir.empty())
            r.dataDir = HomeFolder("XDG_DATA_HOME", ".local/share") + "/ombrel/emulator/" + std::to_string(r.port);
        if (r.port != 0 && !endpoints.insert({r.address, r.port}).second)
            return fail("two recorders on " + r.address + ":" + std::to_string(r.port));
        if (!folders.insert(r.dataDir).second)
            return fail("two recorders share the data folder " + r.dataDir);
    }
    return options;
}

std::string EmulatorHelpText()
{
    return R"(Usage: dvr-emulator [OPTIONS] [--listen ADDR:PORT [RECORDER OPTIONS]]...

Serves one or more recorders over the Ombrel wire protocol (docs/protocol.md).
Each --listen starts a recorder; the recorder options after it are its own,
those before the first --listen are defaults for every recorder. Without
--listen one recorder listens on 127.0.0.1:7050. When a recorder is ready it
prints "listening 127.0.0.1:PORT". SIGTERM or SIGINT stop the process (exit 0).

Recorders:
  --listen ADDR:PORT     loopback address and port (PORT alone: 127.0.0.1;
                         port 0 picks a free port)
  --model MODEL          MODEL_A..MODEL_F or 1..6 (default MODEL_C)
  --data DIR             settings block (settings.bin), uploads (uploads/),
                         serial line record (serial.log); created on first run
                         (default ${XDG_DATA_HOME:-~/.local/share}/ombrel/emulator/PORT),
                         TLS key and certificate (tls-identity.pem)
  --new-tls-key          make a new TLS key, replacing the one kept
  --max-sessions N       sessions served at once (default 8)
  --poll-timeout S       close a session silent for S seconds (default 10)
  --seed N               seed of the recording days, profiles and logs (default 1)
  --alarm-every S        raise a sensor alarm every S seconds, sensors in turn
  --alarm-length S       an alarm keeps its sensor active S seconds (default 3)
  --loop-seconds S       length of the looped camera pictures (default 4;
                         shorter loops encode faster on a cold cache)
  --camera-bitrate BITS  bit rate the camera loops reach, 100k..20M (1500000,
                         4000k, 1.5M); above what the plain scene needs (about
                         1M) the pictures get moving grain (default: the plain
                         scene)
  --camera-content CONTENT
                         plain (the drawn street, cheap to decode; default) or
                         hard (busy, noisy and moving, coded as cameras code
                         it: decodes about as dearly as a real camera at the
                         same rate; 1.5M unless a camera bit rate is given)
  --send-times FILE      for benchmarks: a line "CAMERA PTS NANOSECONDS" for
                         each video unit sent, once its last byte was given
                         to the socket (PTS at 90 kHz, NANOSECONDS on the
                         monotonic clock); a file for each recorder

Process:
  --discovery-port PORT  answer LAN discovery probes on this UDP port
                         (default 7060, 0 = none)
  --cache DIR            encoded camera loops
                         (default ${XDG_CACHE_HOME:-~/.cache}/ombrel/emulator)
  --help                 this text

Commands on standard input, one a line:
  alarm N                sensor N (1-based) of every recorder raises an alarm
  alarm N PORT           only on the recorder listening on PORT
SIGUSR1 raises an alarm on sensor 1 of every recorder.

Fault injection (per recorder, like the recorder options):
  --refuse-connections   close each connection at once, before the challenge
  --drop-after-frames N  reset a session (no goodbye) after it sent N frames
  --disconnect-after S   close each session S seconds after it connected
  --delay MS             answer requests MS milliseconds late
  --reject-logins        every log-in is answered "wrong password"
  --stop-polls-after S   stop answering polls S seconds after connecting
                         (the connection stays open and silent)
  --refuse-op OP         answer OP "unsupported": settings, write, live,
                         serial, log, month, daily, upload (may repeat)
  --wire-version N       speak protocol version N in clear, without TLS, as
                         a recorder of an older version would (a mismatch
                         for clients)
  --drop-fragments P     drop P percent of live fragments
  --reorder-fragments P  swap P percent of live fragments with the next one
  --corrupt-fragments P  flip a byte in P percent of live fragments
  --tamper-datagrams P   flip a byte of the sealed part (after the clear
                         token and counter) of P percent of UDP datagrams
  --repeat-datagrams P   send P percent of UDP datagrams twice
  --fault-seed N         seed of the fault dice (default 1)
)";
}

}  // namespace emulator
