#include "platform/registry/RegistryHostKeyPins.h"

#include "core/config/RegConfig.h"
#include "core/servers/HostKeyPin.h"

#include <mutex>

namespace {

std::mutex& PinLock()
{
    static std::mutex lock;
    return lock;
}

RegKeyPath HostKeysPath()
{
    RegKeyPath path;
    SplitRegKeyPath(kHostKeysKey, path);
    return path;
}

// The text of a REG_SZ as the registry layer stores it: up to its first zero byte.
std::string StoredText(const RegValue& value)
{
    std::string text(value.data.begin(), value.data.end());
    return text.substr(0, text.find('\0'));
}

} // namespace

RegistryHostKeyPins::RegistryHostKeyPins(std::shared_ptr<RegistryBackend> store) : m_store(std::move(store)) {}

HostKeyVerifier::Verdict RegistryHostKeyPins::Check(const std::string& host, std::uint16_t port,
                                                    const std::string& fingerprint, std::string* pinned)
{
    std::lock_guard<std::mutex> hold(PinLock());
    RegValue value;
    const long code = m_store->QueryValue(HostKeysPath(), HostKeyPinName(host, port), value);
    if (code == regerr::FileNotFound && IsHostKeyFingerprint(fingerprint)) {
        // Trust on first use; a pin that cannot be written is met as new next time.
        pin(host, port, fingerprint);
        return Verdict::Trusted;
    }
    const std::string kept = code == regerr::Success ? StoredText(value) : std::string();
    if (code == regerr::Success && value.type == REG_SZ && IsHostKeyFingerprint(kept) && kept == fingerprint)
        return Verdict::Trusted;
    if (pinned)
        *pinned = kept;
    return Verdict::Changed;
}

void RegistryHostKeyPins::Trust(const std::string& host, std::uint16_t port, const std::string& fingerprint)
{
    std::lock_guard<std::mutex> hold(PinLock());
    if (IsHostKeyFingerprint(fingerprint))
        pin(host, port, fingerprint);
}

void RegistryHostKeyPins::pin(const std::string& host, std::uint16_t port, const std::string& fingerprint)
{
    std::vector<std::uint8_t> text(fingerprint.begin(), fingerprint.end());
    text.push_back(0);
    RegEdit create{RegEdit::Kind::CreateKey, HostKeysPath(), {}, 0, {}};
    RegEdit set{RegEdit::Kind::SetValue, HostKeysPath(), HostKeyPinName(host, port), REG_SZ, std::move(text)};
    m_store->Apply({create, set});
}
