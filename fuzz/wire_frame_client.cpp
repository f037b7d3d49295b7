// The client's parse of arbitrary recorder bytes: control-connection streams
// (from the first byte, or after a completed log-in) and UDP datagrams, fed
// through the same protocol object a session uses.
//
// Input: [mode][chunk size][bytes...]. Mode bit 0: log in first; bit 1: also
// hand the bytes over as one datagram. Chunk size splits the stream.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/net/Frame.h"
#include "core/net/SessionMessages.h"
#include "platform/netctrl/ClientProtocol.h"

namespace {

class TouchingSink : public ClientProtocol::Sink {
public:
    void Notify(int code) override { last = code; }
    void Transmit(std::vector<std::uint8_t> frame, ClientProtocol::Answer) override { sent += frame.size(); }
    void Live(std::uint8_t, std::uint8_t* packet, std::size_t length) override
    {
        // The callback may write into the packet; every byte must be ours.
        for (std::size_t i = 0; i < length; ++i)
            packet[i] ^= 0x5A;
    }
    void AnswerReceived(ClientProtocol::Answer) override {}
    int last = 0;
    std::size_t sent = 0;
};

void LogIn(ClientProtocol& protocol)
{
    protocol.Submit(ClientRequest::Login("ADMIN", "5829"));
    std::vector<std::uint8_t> frames;
    wire::AppendFrame(frames, wire::MessageType::Challenge, 0, wire::ChallengeMessage{}.Encode());
    wire::LoginReplyMessage reply;
    reply.code = wire::kLoginAdministrator;
    reply.sessionToken = 0x01020304;
    wire::AppendFrame(frames, wire::MessageType::LoginReply, 1, reply.Encode());
    protocol.OnControlBytes(frames.data(), frames.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    std::uint8_t mode = data[0];
    std::size_t chunk = static_cast<std::size_t>(data[1]) % 97 + 1;
    data += 2;
    size -= 2;

    TouchingSink sink;
    ClientInbox inbox;
    ClientProtocol protocol(sink, inbox);
    if (mode & 1)
        LogIn(protocol);
    if (mode & 2) {
        std::vector<std::uint8_t> datagram(data, data + size);
        protocol.OnDatagram(datagram.data(), datagram.size());
    }
    for (std::size_t at = 0; at < size; at += chunk) {
        std::size_t length = size - at < chunk ? size - at : chunk;
        if (!protocol.OnControlBytes(data + at, length))
            break;
    }
    std::vector<std::uint8_t> block;
    while (inbox.TakeLogBlock(block) || inbox.TakeDailyBlock(block)) {
    }
    return 0;
}
