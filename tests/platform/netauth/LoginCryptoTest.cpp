#include "platform/netauth/LoginCrypto.h"
#include "platform/netauth/OpenSslLoginAuthority.h"

#include <gtest/gtest.h>

#include <set>

using namespace netauth;

namespace {

std::string Hex(const wire::Proof& proof)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const uint8_t b : proof) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

struct Inputs {
    std::array<uint8_t, wire::kAccountFieldSize> account{};
    wire::Nonce server{};
    wire::Nonce client{};
    explicit Inputs(const std::string& name)
    {
        wire::LoginRequestMessage::PackAccount(name, account);
        for (uint8_t i = 0; i < 32; ++i) {
            server[i] = i;
            client[i] = static_cast<uint8_t>(32 + i);
        }
    }
};

}  // namespace

// Values from an independent HMAC-SHA256 over the documented input; they pin
// the log-in proof, which both ends of the wire must compute alike.
TEST(LoginCrypto, ProofMatchesTheDocumentedHmac)
{
    const Inputs admin("ADMIN");
    EXPECT_EQ(Hex(ComputeLoginProof("5829", admin.account, admin.server, admin.client)),
              "74527058ada735f3cd8db33b8ccf7ae8dced0450a8b84bb4563096ee3c0794bb");
    EXPECT_EQ(Hex(ComputeLoginProof("123456789", admin.account, admin.server, admin.client)),
              "f88a40740c4146e1e9bb1e812ac5b0d44fa9efe227aec839a9cf0ea98618f4d3")
        << "a password filling its nine bytes";
    const Inputs guest("GUEST0");
    EXPECT_EQ(Hex(ComputeLoginProof("", guest.account, guest.server, guest.client)),
              "6db916e74549b6fafe61ccd1eca1f00b2e75733c4043b1489c56ea7ac1828901")
        << "an empty password still gives a proof";
}

TEST(LoginCrypto, EveryInputChangesTheProof)
{
    const Inputs in("ADMIN");
    const wire::Proof base = ComputeLoginProof("5829", in.account, in.server, in.client);
    Inputs other = in;
    other.server[31] ^= 1;
    EXPECT_NE(ComputeLoginProof("5829", other.account, other.server, other.client), base);
    other = in;
    other.client[0] ^= 1;
    EXPECT_NE(ComputeLoginProof("5829", other.account, other.server, other.client), base);
    const Inputs guest("GUEST1");
    EXPECT_NE(ComputeLoginProof("5829", guest.account, guest.server, guest.client), base);
    EXPECT_NE(ComputeLoginProof("5828", in.account, in.server, in.client), base);
}

TEST(LoginCrypto, NoncesAndTokensAreFreshAndTokensNeverZero)
{
    std::set<wire::Nonce> nonces;
    std::set<uint32_t> tokens;
    for (int i = 0; i < 64; ++i) {
        const auto nonce = RandomNonce();
        ASSERT_TRUE(nonce);
        nonces.insert(*nonce);
        const auto token = RandomToken();
        ASSERT_TRUE(token);
        EXPECT_NE(*token, 0u);
        tokens.insert(*token);
    }
    EXPECT_EQ(nonces.size(), 64u);
    EXPECT_GE(tokens.size(), 63u);
}

TEST(LoginCrypto, ComparisonLooksAtEveryByte)
{
    wire::Proof a{};
    a.fill(7);
    wire::Proof b = a;
    EXPECT_TRUE(ConstantTimeEqual(a.data(), b.data(), a.size()));
    b.back() = 8;
    EXPECT_FALSE(ConstantTimeEqual(a.data(), b.data(), a.size()));
    OpenSslLoginAuthority authority;
    EXPECT_FALSE(authority.ProofsEqual(a, b));
    b.back() = 7;
    b.front() = 0;
    EXPECT_FALSE(authority.ProofsEqual(a, b));
}
