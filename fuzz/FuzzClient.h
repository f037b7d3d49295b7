#pragma once
// The client's protocol for fuzzing: a sink that counts what it is given and
// writes into every live packet (so a packet that is not the protocol's own
// shows), and a log-in that gets it past the challenge.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/net/Frame.h"
#include "core/net/SessionMessages.h"
#include "platform/netctrl/ClientProtocol.h"

namespace fuzzing {

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


inline void LogIn(ClientProtocol& protocol)
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

}  // namespace fuzzing
