#pragma once
// Serves one recorder on its port: one thread runs an event loop over the
// listening socket, every session's socket, the live media schedule and the
// time-outs and alarms. Other threads talk to it only through Stop and
// RaiseAlarm. Every session runs inside TLS with the recorder's own key,
// except under --wire-version, where the recorder plays an old one in clear.

#include "LiveSender.h"
#include "Recorder.h"

#include "core/net/RecorderConnection.h"
#include "platform/nettls/SecureLink.h"
#include "platform/nettls/TlsIdentity.h"

#include <netinet/in.h>

#include <array>
#include <cstdio>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace emulator {

class RecorderServer {
public:
    // Loads (or makes) the TLS key and binds the listening and media sockets;
    // null with *error on failure.
    static std::unique_ptr<RecorderServer> Create(Recorder& recorder, std::string* error);
    ~RecorderServer();

    void Start();  // runs the loop on a thread of its own
    void Stop();   // ends every session and the loop; returns when the thread has ended
    // Thread-safe: sensor (0-based) raises an alarm.
    void RaiseAlarm(int sensor);

    uint16_t Port() const { return port_; }
    const std::string& Address() const { return recorder_.Options().address; }
    Recorder& GetRecorder() { return recorder_; }
    // "SHA256:..." of the key clients see.
    std::string KeyFingerprint() const { return identity_.Fingerprint(); }

private:
    struct Session {
        Session(Recorder& recorder, wire::LoginAuthority& authority, const wire::RecorderConnectionOptions& options,
                const FaultOptions& faults, uint64_t seed, uint64_t nowMs, std::FILE* sendTimesFile);
        int fd = -1;
        sockaddr_in peer{};
        uint64_t acceptedMs = 0;
        wire::RecorderConnection connection;
        SendTimes sendTimes;
        LiveSender live;
        // The session's media key, once the encrypted connection agreed one.
        std::optional<std::array<uint8_t, 32>> mediaKey;
        uint64_t liveGeneration = 0;
        std::unique_ptr<nettls::SecureLink> link;  // null for an old-version recorder in clear
        std::string linkFailure;                   // why the link ended, if it did
        size_t plainInWire = 0;                    // connection bytes sealed into the link's unsent record
        std::deque<std::pair<uint64_t, std::vector<uint8_t>>> delayed;  // (due, bytes) under --delay
        bool broken = false;  // socket error or reset: close without flushing
        uint64_t closingSinceMs = 0;  // when the connection asked to be closed
    };

    using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;
    RecorderServer(Recorder& recorder, nettls::TlsIdentity identity, int listenFd, int udpFd, int wakeFd,
                   uint16_t port, File sendTimes);
    void Run();
    void Accept(uint64_t nowMs);
    void Receive(Session& session, uint64_t nowMs);
    void Decrypted(Session& session, const uint8_t* data, size_t length, uint64_t nowMs);
    void Flush(Session& session);
    // The session is to be closed once its last bytes are out.
    static bool Closing(const Session& session);
    // Bytes still to go to the socket (those of a failed link: its last clear frame or alert only).
    static size_t Unsent(const Session& session);
    // Whether to read the socket: during the handshake, and while the
    // connection takes requests and its answers do not pile up.
    static bool WantsInput(const Session& session);
    void Tick(uint64_t nowMs);
    void PushMasks();
    void CloseSession(Session& session, bool reset);
    uint64_t NextWakeMs(uint64_t nowMs) const;
    void TakeCommands(uint64_t nowMs);

    Recorder& recorder_;
    nettls::TlsIdentity identity_;
    std::unique_ptr<wire::LoginAuthority> authority_;
    wire::RecorderConnectionOptions connectionOptions_;
    int listenFd_;
    int udpFd_;
    int wakeFd_;  // eventfd: a command is waiting
    uint16_t port_;
    File sendTimes_;  // null without --send-times
    std::thread thread_;

    std::mutex commandMutex_;  // guards stopRequested_ and alarmRequests_
    bool stopRequested_ = false;
    std::vector<int> alarmRequests_;

    // Loop thread only.
    std::list<Session> sessions_;
    uint64_t nextTickMs_ = 0;
    uint64_t nextScheduledAlarmMs_ = 0;
    int nextScheduledSensor_ = 0;
    uint64_t sessionsStarted_ = 0;
};

// Milliseconds of a monotonic clock.
uint64_t MonotonicMs();

}  // namespace emulator
