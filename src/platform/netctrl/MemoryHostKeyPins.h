#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/netctrl/HostKeyVerifier.h"

// Pins kept for the life of the process only: what the network library uses
// when its owner has set no verifier of its own.
class MemoryHostKeyPins final : public HostKeyVerifier {
public:
    Verdict Check(const std::string& host, std::uint16_t port, const std::string& fingerprint,
                  std::string* pinned) override;
    void Trust(const std::string& host, std::uint16_t port, const std::string& fingerprint) override;

private:
    std::mutex m_lock; // guards m_pins
    std::map<std::pair<std::string, std::uint16_t>, std::string> m_pins;
};
