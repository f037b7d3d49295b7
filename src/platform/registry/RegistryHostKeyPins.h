#pragma once

#include "core/config/RegistryBackend.h"
#include "platform/netctrl/HostKeyVerifier.h"

#include <memory>

// Pins kept in the settings database (docs/registry.md, "Host keys"), so the
// viewer and dvrctl share them and they outlast the process. Every call reads
// the store afresh: a key trusted by one program is known to the other at its
// next connection.
//
// Safe on any thread: the store serialises its own calls, and one lock for
// the whole process makes a first-use check and its pin one step, so two
// sessions meeting a new recorder at once cannot both be told Trusted for
// different keys.
//
// A stored value that is not a well-formed fingerprint, or a store that cannot
// be read, answers Changed (with whatever was readable as the kept text): the
// operator decides, nothing is replaced behind their back.
class RegistryHostKeyPins final : public HostKeyVerifier {
public:
    explicit RegistryHostKeyPins(std::shared_ptr<RegistryBackend> store);

    Verdict Check(const std::string& host, std::uint16_t port, const std::string& fingerprint,
                  std::string* pinned) override;
    // A malformed fingerprint is not stored.
    void Trust(const std::string& host, std::uint16_t port, const std::string& fingerprint) override;

private:
    void pin(const std::string& host, std::uint16_t port, const std::string& fingerprint);

    std::shared_ptr<RegistryBackend> m_store;
};
