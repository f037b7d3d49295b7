#pragma once
// Answers LAN discovery probes on a loopback UDP port: one answer datagram
// per recorder of this process, sent back to the probe's source.

#include "RecorderServer.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace emulator {

class DiscoveryResponder {
public:
    // Null with *error when the port cannot be bound.
    static std::unique_ptr<DiscoveryResponder> Create(uint16_t port, std::vector<RecorderServer*> servers,
                                                      std::string* error);
    ~DiscoveryResponder();
    void Start();
    void Stop();

private:
    DiscoveryResponder(int fd, int wakeFd, std::vector<RecorderServer*> servers);
    void Run();
    void Answer(const uint8_t* data, size_t length, const sockaddr_in& from);

    int fd_;
    int wakeFd_;
    std::vector<RecorderServer*> servers_;
    std::thread thread_;
};

}  // namespace emulator
