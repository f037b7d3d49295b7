#include "platform/netctrl/MemoryHostKeyPins.h"

HostKeyVerifier::Verdict MemoryHostKeyPins::Check(const std::string& host, std::uint16_t port,
                                                  const std::string& fingerprint, std::string* pinned)
{
    std::lock_guard guard(m_lock);
    const auto [pin, added] = m_pins.try_emplace({host, port}, fingerprint);
    if (added || pin->second == fingerprint)
        return Verdict::Trusted;
    if (pinned)
        *pinned = pin->second;
    return Verdict::Changed;
}

void MemoryHostKeyPins::Trust(const std::string& host, std::uint16_t port, const std::string& fingerprint)
{
    std::lock_guard guard(m_lock);
    m_pins[{host, port}] = fingerprint;
}
