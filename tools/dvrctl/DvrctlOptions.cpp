#include "DvrctlOptions.h"

#include <cstdlib>
#include <map>

const char* const kDvrctlUsage =
    "usage: dvrctl --host HOST --port PORT --account ACCOUNT --password PASSWORD [--udp]\n"
    "              [--accept-new-key] COMMAND\n"
    "       dvrctl scan\n"
    "       dvrctl play FILE --shot OUT.png [--layout 1|4|8|9|16] [--timeout SECONDS]\n"
    "       dvrctl ddns NAME --server HOST[:PORT]\n"
    "  --accept-new-key      a recorder's key is pinned the first time it is met (in the\n"
    "                        settings database the viewer uses); one that shows another key\n"
    "                        later is refused (exit 10) unless this trusts the new key\n"
    "commands:\n"
    "  info                  the settings block and the session mode as JSON\n"
    "  days YYYY-MM          the month's recording days, one a line\n"
    "  log YYYY-MM-DD FILE   save the day's log to FILE\n"
    "  upload FILE           upload FILE to the recorder\n"
    "  settings get          the settings block as JSON\n"
    "  settings put FILE     write the sections FILE changes (JSON as settings get prints,\n"
    "                        fields left out keep their values); every field is checked as\n"
    "                        the setup pages check it, and one bad field writes nothing\n"
    "  serial HEX            send bytes (hex) to the recorder's serial line\n"
    "  scan                  discovery records of DVR_SCAN_TARGETS as JSON lines\n"
    "  snapshot --channel N [--timeout SECONDS] OUT.jpg\n"
    "                        live picture of camera N (1-16) as a JPEG at its decoded size;\n"
    "                        waits at most SECONDS (default 8) for it\n"
    "  ptz --channel N COMMAND [--ms MS]\n"
    "                        steers camera N (1-16) through its PTZ driver, as the viewer does;\n"
    "                        COMMAND: left, right, up, down, zoomin, zoomout, focusnear, focusfar,\n"
    "                        irisopen, irisclose, stop, preset-set K, preset-call K (K 1-255);\n"
    "                        a movement is stopped after MS milliseconds (default 500)\n"
    "  play FILE --shot OUT.png [--layout 1|4|8|9|16] [--timeout SECONDS]\n"
    "                        plays a program-stream file into the video window (panes from\n"
    "                        channel 1, layout default 16) and saves the window as a PNG once\n"
    "                        pictures are shown; no recorder needed\n"
    "  ddns NAME --server HOST[:PORT]\n"
    "                        resolves a DDNS name (server port default 2780) and prints\n"
    "                        ADDRESS PORT; no recorder needed\n"
    "exit status: 0 done, 1 the recorder refused the operation or a file could not be\n"
    "  read or written, 2 usage error,\n"
    "  3 log-in refused, 4 recorder unreachable or link lost, 5 no such log,\n"
    "  6 DDNS connection failed, 7 DDNS name invalid or not registered,\n"
    "  8 DDNS server did not answer in time, 9 no picture in time,\n"
    "  10 the recorder shows another key than the one pinned for it\n";

namespace {

struct CommandShape {
    std::optional<std::size_t> arguments; // nullopt: the command reads its own options
    bool needsRecorder;
};

const std::map<std::string, CommandShape> kCommands = {
    {"info", {0, true}},           {"days", {1, true}},           {"log", {2, true}},
    {"upload", {1, true}},         {"serial", {1, true}},         {"scan", {0, false}},
    {"snapshot", {std::nullopt, true}}, {"ptz", {std::nullopt, true}}, {"play", {std::nullopt, false}}, {"ddns", {std::nullopt, false}},
    {"settings", {std::nullopt, true}}};

} // namespace

std::optional<DvrctlOptions> DvrctlOptions::Parse(const std::vector<std::string>& args, std::string* error)
{
    DvrctlOptions options;
    std::size_t i = 0;
    auto value = [&](std::string& out) {
        if (i + 1 >= args.size())
            return false;
        out = args[++i];
        return true;
    };
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string portText;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return options;
        } else if (arg == "--udp") {
            options.udp = true;
        } else if (arg == "--accept-new-key") {
            options.acceptNewKey = true;
        } else if (arg == "--host" || arg == "--account" || arg == "--password") {
            std::string& field = arg == "--host" ? options.host : arg == "--account" ? options.account : options.password;
            if (!value(field)) {
                *error = arg + " needs a value";
                return std::nullopt;
            }
        } else if (arg == "--port") {
            char* end = nullptr;
            if (!value(portText) || (options.port = static_cast<int>(std::strtol(portText.c_str(), &end, 10)), *end)
                || options.port <= 0 || options.port > 65535) {
                *error = "--port needs a number from 1 to 65535";
                return std::nullopt;
            }
        } else if (arg.rfind("--", 0) == 0) {
            *error = "unknown option " + arg;
            return std::nullopt;
        } else {
            options.command = arg;
            options.arguments.assign(args.begin() + static_cast<long>(i) + 1, args.end());
            break;
        }
    }
    auto command = kCommands.find(options.command);
    if (command == kCommands.end()) {
        *error = options.command.empty() ? "no command given" : "unknown command " + options.command;
        return std::nullopt;
    }
    const CommandShape& shape = command->second;
    if (shape.arguments && options.arguments.size() != *shape.arguments) {
        *error = options.command + " takes " + std::to_string(*shape.arguments) + " argument(s)";
        return std::nullopt;
    }
    if (shape.needsRecorder && (options.host.empty() || options.port == 0 || options.account.empty())) {
        *error = "--host, --port and --account are required";
        return std::nullopt;
    }
    return options;
}
