#include "DdnsEmulatorOptions.h"

#include "core/ddns/DdnsProtocol.h"

#include <arpa/inet.h>

#include <cctype>
#include <cstdlib>

namespace ddns_emulator {

namespace {

std::optional<long> ParseNumber(const std::string& text, long low, long high)
{
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])))
        return std::nullopt;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || value < low || value > high)
        return std::nullopt;
    return value;
}

// "ADDRESS:PORT" with a dotted IPv4 address.
bool ParseAddressPort(const std::string& text, long lowestPort, in_addr* address, std::uint16_t* port)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos)
        return false;
    const auto number = ParseNumber(text.substr(colon + 1), lowestPort, 65535);
    if (!number || ::inet_pton(AF_INET, text.substr(0, colon).c_str(), address) != 1)
        return false;
    *port = static_cast<std::uint16_t>(*number);
    return true;
}

std::optional<ReplyMode> ParseMode(const std::string& text)
{
    if (text == "normal")
        return ReplyMode::Normal;
    if (text == "silent")
        return ReplyMode::Silent;
    if (text == "close")
        return ReplyMode::Close;
    if (text == "garbage")
        return ReplyMode::Garbage;
    if (text == "overlong")
        return ReplyMode::Overlong;
    return std::nullopt;
}

}  // namespace

std::string FoldName(const std::string& name)
{
    std::string folded = name;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

const char* EmulatorUsage()
{
    return "usage: ddns-emulator [--listen 127.0.0.1:PORT] [--name NAME=ADDRESS:PORT ...]\n"
           "                     [--reply normal|silent|close|garbage|overlong] [--port-first]\n"
           "                     [--junk N] [--split N] [--pause MS]\n"
           "\n"
           "Answers DDNS queries on TCP (loopback only; default 127.0.0.1:2780, port 0 picks a\n"
           "free one) and prints \"listening 127.0.0.1:PORT\" when ready, then one line per query.\n"
           "  --name NAME=ADDRESS:PORT  registers a name (dotted IPv4 address, decimal port);\n"
           "                            other names are answered \"not registered\"\n"
           "  --reply MODE              normal; silent (never answers); close (hangs up without\n"
           "                            answering); garbage (a field length past the payload);\n"
           "                            overlong (a payload longer than 128 bytes)\n"
           "  --port-first              sends the port field before the address field\n"
           "  --junk N                  sends N bytes before the frame start (at most 1000)\n"
           "  --split N                 sends each answer in N writes (at most 64)...\n"
           "  --pause MS                ...MS milliseconds apart (default 100, at most 10000)\n"
           "SIGTERM or SIGINT stop the emulator (exit 0).\n";
}

std::optional<EmulatorOptions> ParseEmulatorOptions(const std::vector<std::string>& args, std::string* error)
{
    EmulatorOptions options;
    options.listen.sin_family = AF_INET;
    options.listen.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    options.listen.sin_port = htons(ddns::kServerPort);
    auto fail = [error](const std::string& text) {
        *error = text;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option == "--port-first") {
            options.portFirst = true;
            continue;
        }
        if (i + 1 >= args.size())
            return fail("unknown option or missing value: " + option);
        const std::string& value = args[++i];
        if (option == "--listen") {
            std::uint16_t port = 0;
            if (!ParseAddressPort(value, 0, &options.listen.sin_addr, &port))
                return fail("--listen wants 127.0.0.1:PORT, got " + value);
            if ((ntohl(options.listen.sin_addr.s_addr) >> 24) != 127)
                return fail("--listen: loopback addresses only, got " + value);
            options.listen.sin_port = htons(port);
        } else if (option == "--name") {
            const std::size_t equals = value.find('=');
            Registration registration;
            in_addr address{};
            if (equals == std::string::npos ||
                !ParseAddressPort(value.substr(equals + 1), 1, &address, &registration.port))
                return fail("--name wants NAME=ADDRESS:PORT, got " + value);
            char dotted[INET_ADDRSTRLEN] = {};
            ::inet_ntop(AF_INET, &address, dotted, sizeof dotted);
            registration.address = dotted;
            options.names[FoldName(value.substr(0, equals))] = registration;
        } else if (option == "--reply") {
            const auto mode = ParseMode(value);
            if (!mode)
                return fail("--reply: unknown mode " + value);
            options.mode = *mode;
        } else if (option == "--junk") {
            const auto n = ParseNumber(value, 0, 1000);
            if (!n)
                return fail("--junk wants 0..1000, got " + value);
            options.junkBytes = static_cast<std::size_t>(*n);
        } else if (option == "--split") {
            const auto n = ParseNumber(value, 1, 64);
            if (!n)
                return fail("--split wants 1..64, got " + value);
            options.splitParts = static_cast<std::size_t>(*n);
        } else if (option == "--pause") {
            const auto n = ParseNumber(value, 0, 10000);
            if (!n)
                return fail("--pause wants 0..10000, got " + value);
            options.pauseMs = static_cast<int>(*n);
        } else {
            return fail("unknown option: " + option);
        }
    }
    return options;
}

}  // namespace ddns_emulator
