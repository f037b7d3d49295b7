#include "DdnsCommand.h"

#include <iostream>
#include <optional>
#include <string>

#include "CommandArguments.h"
#include "DvrctlCommands.h"
#include "RecorderLink.h"
#include "platform/ddns/DdnsLookup.h"

namespace {

struct DdnsServer {
    std::string host;
    std::uint16_t port = ddns::kServerPort;
};

// "HOST" or "HOST:PORT"; nullopt for an empty host or a bad port.
std::optional<DdnsServer> ParseServer(const std::string& text)
{
    DdnsServer server;
    const std::size_t colon = text.rfind(':');
    server.host = text.substr(0, colon);
    if (colon != std::string::npos) {
        auto port = ParseBoundedNumber(text.substr(colon + 1), 1, 65535);
        if (!port)
            return std::nullopt;
        server.port = static_cast<std::uint16_t>(*port);
    }
    if (server.host.empty())
        return std::nullopt;
    return server;
}

int ExitCodeFor(DdnsLookupResult::Kind kind)
{
    switch (kind) {
    case DdnsLookupResult::Resolved:
        return kExitOk;
    case DdnsLookupResult::NotRegistered:
        return kExitDdnsInvalid;
    case DdnsLookupResult::TimedOut:
    case DdnsLookupResult::NoAnswer:
        return kExitDdnsNoAnswer;
    case DdnsLookupResult::ConnectionFailed:
    case DdnsLookupResult::ServerNotFound:
        break;
    }
    return kExitDdnsConnectionFailed;
}

// The dialog's text where it has one; the user is told something in every case here.
std::string FailureText(const DdnsLookupResult& result, const DdnsServer& server)
{
    std::string_view message = DdnsLookupMessage(result.kind);
    if (!message.empty())
        return std::string(message);
    switch (result.kind) {
    case DdnsLookupResult::TimedOut:
        return "the DDNS server did not answer within " + std::to_string(ddns::kLookupTimeoutMs) + " ms";
    case DdnsLookupResult::NoAnswer:
        return "the DDNS server hung up without an answer";
    case DdnsLookupResult::ServerNotFound:
        return "the DDNS server " + server.host + " was not found";
    default:
        return "the DDNS lookup failed";
    }
}

} // namespace

int RunDdns(const DvrctlOptions& options)
{
    std::string error;
    auto args = CommandArguments::Parse(options.arguments, {"--server"}, &error);
    if (!args)
        return Fail(kExitUsage, error);
    auto serverText = args->options.find("--server");
    if (serverText == args->options.end() || args->words.size() != 1)
        return Fail(kExitUsage, "ddns takes one name and --server HOST[:PORT]");
    auto server = ParseServer(serverText->second);
    if (!server)
        return Fail(kExitUsage, "--server needs HOST or HOST:PORT with a port from 1 to 65535");

    const DdnsLookupResult result = ResolveDdnsName(args->words.front(), server->host, server->port);
    if (result.kind != DdnsLookupResult::Resolved)
        return Fail(ExitCodeFor(result.kind), FailureText(result, *server));
    std::cout << result.address << " " << result.port << "\n";
    return kExitOk;
}
