#include "RecorderKeyStore.h"

#include "AtomicFile.h"

#include <sys/stat.h>

#include <cerrno>

namespace emulator {
namespace {

constexpr size_t kMaxIdentityFile = 64 * 1024;
constexpr const char* kCommonName = "dvr-emulator recorder";

}  // namespace

std::optional<nettls::TlsIdentity> LoadOrMakeRecorderIdentity(const std::string& dataDir, bool makeNew,
                                                              std::string* error)
{
    const std::string path = dataDir + "/" + kIdentityFileName;
    struct stat st {};
    const bool present = ::lstat(path.c_str(), &st) == 0 || errno != ENOENT;
    if (present && !makeNew) {
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(path, kMaxIdentityFile, &bytes, error)) {
            *error = "the TLS key file cannot be read (" + *error + "); move it away or start with --new-tls-key";
            return std::nullopt;
        }
        std::string reason;
        auto identity = nettls::TlsIdentity::FromPem(std::string(bytes.begin(), bytes.end()), kCommonName, &reason);
        if (!identity)
            *error = "the TLS key file " + path + " holds no usable key (" + reason
                + "); move it away or start with --new-tls-key";
        return identity;
    }
    auto identity = nettls::TlsIdentity::Generate(kCommonName, error);
    if (!identity)
        return std::nullopt;
    const std::string pem = identity->Pem();
    if (!WriteFileAtomically(path, std::vector<uint8_t>(pem.begin(), pem.end()), error))
        return std::nullopt;
    return identity;
}

}  // namespace emulator
