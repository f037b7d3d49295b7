#include "core/net/LoginProof.h"

#include "core/net/ByteCursor.h"

namespace wire {

std::vector<uint8_t> LoginProofInput(const std::array<uint8_t, kAccountFieldSize>& account, const Nonce& serverNonce,
                                     const Nonce& clientNonce)
{
    return ByteWriter(kLoginLabel.size() + kAccountFieldSize + 2 * kNonceSize)
        .Bytes(reinterpret_cast<const uint8_t*>(kLoginLabel.data()), kLoginLabel.size())
        .Bytes(account.data(), account.size())
        .Bytes(serverNonce.data(), serverNonce.size())
        .Bytes(clientNonce.data(), clientNonce.size())
        .Take();
}

}  // namespace wire
