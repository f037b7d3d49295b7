// The control connection's TLS layer and the frame decoders behind it, both
// ends. Input: [mode][chunk size][bytes...]; the chunk size splits the bytes.
//   mode 0: bytes a client sends a recorder, as on the socket (the clear
//           old-peer check, then TLS records) -> the recorder's link and
//           connection;
//   mode 1: bytes a recorder sends a client after its StartTls frame, as on
//           the socket -> the client's link and protocol;
//   mode 2: a client's plaintext inside an established TLS session -> the
//           recorder's connection;
//   mode 3: a recorder's plaintext inside an established TLS session -> the
//           client's protocol (logged in first when bit 2 of mode is set).

#include "FuzzClient.h"
#include "FuzzRecorderBackend.h"

#include "core/net/Frame.h"
#include "platform/nettls/SecureLink.h"
#include "platform/nettls/TlsIdentity.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

const nettls::TlsIdentity& Identity()
{
    static const nettls::TlsIdentity identity = [] {
        std::string error;
        return *nettls::TlsIdentity::Generate("fuzz recorder", &error);
    }();
    return identity;
}

// Moves what `from` has for the socket into `to`; true while `to` stands.
bool Pass(nettls::SecureLink& from, nettls::SecureLink& to, std::vector<std::uint8_t>& plain)
{
    const std::vector<std::uint8_t> bytes = from.Wire();
    from.ConsumeWire(bytes.size());
    return to.OnWireBytes(bytes.data(), bytes.size(), plain);
}

bool Handshake(nettls::SecureLink& client, nettls::SecureLink& recorder)
{
    std::vector<std::uint8_t> plain;
    for (int round = 0; round < 4 && !(client.Ready() && recorder.Ready()); ++round)
        if (!Pass(recorder, client, plain) || !Pass(client, recorder, plain))
            return false;
    return client.Ready() && recorder.Ready();
}

struct RecorderEnd {
    fuzzing::FuzzBackend backend;
    fuzzing::FuzzAuthority authority;
    wire::RecorderConnection connection{backend, authority, {}, 0};
    std::uint64_t now = 0;

    void Take(nettls::SecureLink& link, const std::vector<std::uint8_t>& plain)
    {
        connection.OnBytes(plain.data(), plain.size(), now);
        now += 100;
        connection.OnTick(now);
        link.Send(connection.Outgoing());
        connection.ConsumeOutgoing(connection.Outgoing().size());
        link.ConsumeWire(link.Wire().size());
    }
};

struct ClientEnd {
    fuzzing::TouchingSink sink;
    ClientInbox inbox;
    ClientProtocol protocol{sink, inbox};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint8_t mode = data[0];
    const std::size_t chunk = static_cast<std::size_t>(data[1]) * 8 + 1;
    data += 2;
    size -= 2;
    std::string error;
    auto recorder = nettls::SecureLink::ForRecorder(Identity(), &error);
    auto client = nettls::SecureLink::ForClient(&error);
    if (!recorder || !client)
        return 0;
    RecorderEnd recorderEnd;
    recorderEnd.connection.Start(false);
    ClientEnd clientEnd;
    std::vector<std::uint8_t> plain;

    if ((mode & 3) == 1) {
        const auto startTls = wire::EncodeFrameHeader(wire::MessageType::StartTls, 0, 0);
        client->OnWireBytes(startTls.data(), startTls.size(), plain);
    } else if ((mode & 3) >= 2 && !Handshake(*client, *recorder)) {
        return 0;
    }
    if ((mode & 3) == 3 && (mode & 4))
        fuzzing::LogIn(clientEnd.protocol);

    for (std::size_t at = 0; at < size; at += chunk) {
        const std::size_t length = size - at < chunk ? size - at : chunk;
        plain.clear();
        bool standing = true;
        switch (mode & 3) {
        case 0:
            standing = recorder->OnWireBytes(data + at, length, plain);
            recorderEnd.Take(*recorder, plain);
            break;
        case 1:
            standing = client->OnWireBytes(data + at, length, plain);
            client->ConsumeWire(client->Wire().size());
            standing = clientEnd.protocol.OnControlBytes(plain.data(), plain.size()) && standing;
            break;
        case 2:
            client->Send(data + at, length);
            standing = Pass(*client, *recorder, plain);
            recorderEnd.Take(*recorder, plain);
            standing = standing && !recorderEnd.connection.ShouldClose();
            break;
        case 3:
            recorder->Send(data + at, length);
            standing = Pass(*recorder, *client, plain)
                && clientEnd.protocol.OnControlBytes(plain.data(), plain.size());
            break;
        }
        if (!standing)
            break;
    }
    return 0;
}
