#include "platform/ddns/DdnsLookup.h"

#include "platform/ddns/DdnsThreadMessages.h"
#include "platform/ddns/VDNSInterfaceThread.h"
#include "platform/netctrl/Ipv4Endpoint.h"

#include <arpa/inet.h>

#include <chrono>

namespace {

DdnsLookupResult Failure(DdnsLookupResult::Kind kind) { return DdnsLookupResult{kind, {}, 0}; }

}  // namespace

DdnsLookupResult ResolveDdnsName(const std::string& name, const std::string& serverHost, std::uint16_t serverPort,
                                 int timeoutMs)
{
    const auto server = ResolveIpv4Endpoint(serverHost, serverPort);
    if (!server)
        return Failure(DdnsLookupResult::ServerNotFound);
    char dotted[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &server->sin_addr, dotted, sizeof dotted);

    CVDNSInterfaceThread thread;
    thread.SetNameText(name);
    thread.SetServerAddress(dotted);
    thread.SetServerPort(serverPort);
    if (!thread.CreateThread())
        return Failure(DdnsLookupResult::ConnectionFailed);
    thread.DoneEvent().Wait();
    thread.DoneEvent().Reset();
    thread.PostThreadMessage(ddns::kMsgResolve);
    const bool answered = thread.DoneEvent().WaitFor(std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs));
    DdnsLookupResult result = Failure(answered ? DdnsLookupResult::NoAnswer : DdnsLookupResult::TimedOut);
    if (answered) {
        const std::uint32_t flags = thread.ResultFlags();
        if (flags & CVDNSInterfaceThread::kResolved)
            result = DdnsLookupResult{DdnsLookupResult::Resolved, thread.NameText(),
                                      static_cast<std::uint16_t>(thread.Port())};
        else if (flags & CVDNSInterfaceThread::kNoConnection)
            result = Failure(DdnsLookupResult::ConnectionFailed);
        else if (flags & CVDNSInterfaceThread::kNotRegistered)
            result = Failure(DdnsLookupResult::NotRegistered);
    }
    thread.PostThreadMessage(ddns::kMsgQuit);
    thread.Join();
    return result;
}

std::string_view DdnsLookupMessage(DdnsLookupResult::Kind kind)
{
    switch (kind) {
    case DdnsLookupResult::ConnectionFailed:
        return "DDNS Connection Failed!";
    case DdnsLookupResult::NotRegistered:
        return "Invalid DDNS!";
    default:
        return {};
    }
}
