#pragma once
// The emulator's TCP side: accepts DDNS clients on loopback, reads their
// queries and sends the planned answers, with pauses where asked.

#include "DdnsEmulatorOptions.h"

#include "core/ddns/DdnsFrameSplitter.h"
#include "core/ddns/DdnsProtocol.h"
#include "platform/netctrl/FileDescriptor.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace ddns_emulator {

class DdnsServer {
public:
    explicit DdnsServer(const EmulatorOptions& options) : m_options(options) {}

    bool Listen(std::string* error);
    std::uint16_t Port() const { return m_port; }
    // Serves until stopFd becomes readable.
    void Serve(int stopFd);

private:
    using Clock = std::chrono::steady_clock;
    struct PendingWrite {
        Clock::time_point due;
        std::vector<std::uint8_t> bytes;
    };
    struct Connection {
        FileDescriptor fd;
        ddns::DdnsFrameSplitter<ddns::kMaxQueryPayload> splitter;
        std::deque<PendingWrite> pending;
        bool hangUpAfterWrites = false;
    };

    void Accept();
    // False when the connection is to be dropped.
    bool Receive(Connection& connection);
    void Answer(Connection& connection, const std::optional<std::string>& name);
    bool SendDue(Connection& connection);
    int PollTimeoutMs() const;

    // Bounded so that a stuck client cannot exhaust descriptors.
    static constexpr std::size_t kMaxConnections = 64;

    const EmulatorOptions& m_options;
    FileDescriptor m_listener;
    std::uint16_t m_port = 0;
    std::vector<std::unique_ptr<Connection>> m_connections;
};

}  // namespace ddns_emulator
