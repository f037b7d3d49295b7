#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/net/Frame.h"
#include "core/net/FrameDecoder.h"
#include "core/net/SessionMessages.h"
#include "platform/nettls/SecureLink.h"
#include "platform/nettls/TlsIdentity.h"
#include "support/TlsTestIdentity.h"

using nettls::SecureLink;

namespace {

// Moves what `from` has for the socket into `to`, one byte at a time when
// asked (a reader may get the stream cut anywhere).
bool Pass(SecureLink& from, SecureLink& to, std::vector<std::uint8_t>& plain, bool byteByByte = false)
{
    const std::vector<std::uint8_t> bytes = from.Wire();
    from.ConsumeWire(bytes.size());
    if (!byteByByte)
        return to.OnWireBytes(bytes.data(), bytes.size(), plain);
    for (std::uint8_t byte : bytes)
        if (!to.OnWireBytes(&byte, 1, plain))
            return false;
    return true;
}

struct Pair {
    std::unique_ptr<SecureLink> client;
    std::unique_ptr<SecureLink> recorder;
    std::vector<std::uint8_t> toClient;
    std::vector<std::uint8_t> toRecorder;

    Pair()
    {
        std::string error;
        client = SecureLink::ForClient(&error);
        recorder = SecureLink::ForRecorder(TlsTestIdentity(), &error);
    }
    bool Handshake(bool byteByByte = false)
    {
        for (int round = 0; round < 4 && !(client->Ready() && recorder->Ready()); ++round)
            if (!Pass(*recorder, *client, toClient, byteByByte) || !Pass(*client, *recorder, toRecorder, byteByByte))
                return false;
        return client->Ready() && recorder->Ready();
    }
};

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

} // namespace

TEST(SecureLinkTest, BothEndsAgreeOnTheKeyAndTheMediaKeyAndCarryPlaintextBothWays)
{
    Pair pair;
    ASSERT_TRUE(pair.client && pair.recorder);
    ASSERT_TRUE(pair.client->Wire().empty()) << "the client says nothing before StartTls";
    ASSERT_TRUE(pair.client->Send(Bytes("early")));
    ASSERT_TRUE(pair.Handshake(true));

    EXPECT_EQ(pair.client->Pipe().PeerKeyFingerprint(), TlsTestIdentity().Fingerprint());
    EXPECT_EQ(TlsTestIdentity().Fingerprint().size(), 7u + 64u);
    const auto media = pair.client->Pipe().ExportKey("OMBREL-MEDIA-1");
    EXPECT_EQ(media, pair.recorder->Pipe().ExportKey("OMBREL-MEDIA-1"));
    EXPECT_NE(media, pair.client->Pipe().ExportKey("OTHER"));
    EXPECT_NE(media, (std::array<std::uint8_t, 32>{}));
    Pair other;
    ASSERT_TRUE(other.Handshake());
    EXPECT_NE(media, other.client->Pipe().ExportKey("OMBREL-MEDIA-1")) << "each session has its own";

    ASSERT_TRUE(pair.recorder->Send(Bytes("challenge")));
    EXPECT_FALSE(pair.recorder->Wire().empty());
    ASSERT_TRUE(Pass(*pair.recorder, *pair.client, pair.toClient));
    EXPECT_EQ(pair.toClient, Bytes("challenge"));
    ASSERT_TRUE(Pass(*pair.client, *pair.recorder, pair.toRecorder));
    EXPECT_EQ(pair.toRecorder, Bytes("early")) << "held until the handshake, then sent";
}

TEST(SecureLinkTest, ATamperedRecordEndsTheLinkWithAReason)
{
    Pair pair;
    ASSERT_TRUE(pair.Handshake());
    ASSERT_TRUE(pair.recorder->Send(Bytes("settings block")));
    std::vector<std::uint8_t> bytes = pair.recorder->Wire();
    bytes[bytes.size() - 3] ^= 0x01;
    std::vector<std::uint8_t> plain;
    EXPECT_FALSE(pair.client->OnWireBytes(bytes.data(), bytes.size(), plain));
    EXPECT_TRUE(plain.empty());
    EXPECT_EQ(pair.client->Fail(), SecureLink::Failure::Tls);
    EXPECT_FALSE(pair.client->FailureText().empty());
}

TEST(SecureLinkTest, ClearFramesInsteadOfTlsAreRefusedByVersion)
{
    struct Case {
        const char* name;
        bool toClient;
        std::uint16_t version;
        wire::MessageType type;
        SecureLink::Failure failure;
    } cases[] = {
        {"old recorder's challenge", true, 1, wire::MessageType::Challenge, SecureLink::Failure::VersionMismatch},
        {"clear challenge of this version", true, 2, wire::MessageType::Challenge,
         SecureLink::Failure::NotOurProtocol},
        {"old client's log-in", false, 1, wire::MessageType::LoginRequest, SecureLink::Failure::VersionMismatch},
        {"clear log-in of this version", false, 2, wire::MessageType::LoginRequest,
         SecureLink::Failure::NotOurProtocol},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        auto link = c.toClient ? SecureLink::ForClient(&error) : SecureLink::ForRecorder(TlsTestIdentity(), &error);
        ASSERT_TRUE(link);
        const std::size_t startTls = link->Wire().size();
        auto header = wire::EncodeFrameHeader(c.type, 0, 32, c.version);
        std::vector<std::uint8_t> plain;
        bool standing = true;
        for (std::uint8_t byte : header)
            standing = standing && link->OnWireBytes(&byte, 1, plain);
        EXPECT_FALSE(standing);
        EXPECT_EQ(link->Fail(), c.failure);
        if (c.toClient) {
            EXPECT_TRUE(link->Wire().empty()) << "the client sends nothing at all";
            continue;
        }
        // The old client is answered in clear, after StartTls, with the error it can read.
        // Its sequence number follows StartTls's 0.
        const std::vector<std::uint8_t> answer(link->Wire().begin() + static_cast<std::ptrdiff_t>(startTls),
                                               link->Wire().end());
        wire::FrameDecoder decoder(wire::Direction::ToClient, false);
        decoder.Feed(answer.data(), answer.size());
        wire::FrameView frame;
        ASSERT_EQ(decoder.Next(frame), wire::FrameDecoder::Status::Frame);
        EXPECT_EQ(frame.type, wire::MessageType::Error);
        EXPECT_EQ(wire::ErrorMessage::Decode(frame.payload, frame.length)->code,
                  c.version == 1 ? wire::ErrorCode::VersionMismatch : wire::ErrorCode::BadRequest);
    }
}

TEST(SecureLinkTest, AnIdentityComesBackFromItsPemAndGarbageIsRefused)
{
    std::string error;
    const std::string pem = TlsTestIdentity().Pem();
    auto again = nettls::TlsIdentity::FromPem(pem, "x", &error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(again->Fingerprint(), TlsTestIdentity().Fingerprint());
    // Without its certificate the key still is the same key.
    auto keyOnly = nettls::TlsIdentity::FromPem(pem.substr(0, pem.find("-----BEGIN CERTIFICATE")), "x", &error);
    ASSERT_TRUE(keyOnly) << error;
    EXPECT_EQ(keyOnly->Fingerprint(), TlsTestIdentity().Fingerprint());
    EXPECT_FALSE(nettls::TlsIdentity::FromPem("not a key", "x", &error));
    EXPECT_FALSE(error.empty());
}
