#pragma once

#include "platform/nettls/TlsIdentity.h"

#include <optional>
#include <string>

namespace emulator {

// The recorder's TLS key and self-signed certificate live in its data folder
// as tls-identity.pem (mode 0600, replaced atomically), made on first start
// and used again on every later one, so clients that pinned the key keep
// trusting it. A file that is there but unreadable or without a key is an
// error, never a reason for a silent new key. makeNew replaces the file.
std::optional<nettls::TlsIdentity> LoadOrMakeRecorderIdentity(const std::string& dataDir, bool makeNew,
                                                              std::string* error);

// The file's name inside the data folder.
inline constexpr const char* kIdentityFileName = "tls-identity.pem";

}  // namespace emulator
