#pragma once

#include <cstdint>
#include <memory>
#include <string>

// Trust on first use for recorders' TLS keys, as SSH does with host keys:
// the first key met at an address and port is kept, a later different key is
// refused until the operator trusts it. Fingerprints are "SHA256:" followed by
// 64 lower-case hex digits of the key's DER SubjectPublicKeyInfo.
// Check runs on sessions' I/O threads: implementations must be thread-safe.
class HostKeyVerifier {
public:
    enum class Verdict { Trusted, Changed };
    virtual ~HostKeyVerifier() = default;
    // Pins an unknown address and port and answers Trusted; a pinned key that
    // differs answers Changed with the kept fingerprint in *pinned.
    virtual Verdict Check(const std::string& host, std::uint16_t port, const std::string& fingerprint,
                          std::string* pinned) = 0;
    // Replaces (or makes) the pin, after the operator's consent.
    virtual void Trust(const std::string& host, std::uint16_t port, const std::string& fingerprint) = 0;
};
