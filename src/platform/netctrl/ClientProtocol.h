#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "core/net/FrameDecoder.h"
#include "platform/netauth/MediaSeal.h"
#include "platform/netctrl/ClientInbox.h"
#include "platform/netctrl/ClientRequest.h"

// The client end of the recorder wire: turns frames from the recorder into
// inbox updates, notifications and live packets, and requests into frames.
// It owns no socket and no thread; the session's I/O thread drives it, and a
// fuzzer can drive it with arbitrary bytes the same way.
class ClientProtocol {
public:
    // What the recorder owes for a frame sent, or what a frame received answers.
    enum class Answer { None, Reply, PollReply };

    class Sink {
    public:
        virtual ~Sink() = default;
        virtual void Notify(int code) = 0;
        virtual void Transmit(std::vector<std::uint8_t> frame, Answer owed) = 0;
        virtual void Live(std::uint8_t type, std::uint8_t* packet, std::size_t length) = 0;
        // One frame that answers a request (not a push) arrived.
        virtual void AnswerReceived(Answer answer) = 0;
    };

    ClientProtocol(Sink& sink, ClientInbox& inbox);

    // Bytes from the control connection. False when the link must end; the
    // notification saying why has been given.
    bool OnControlBytes(const std::uint8_t* data, std::size_t length);
    // One UDP datagram; anything that is not this session's authentic live
    // media is dropped, and counted in the inbox.
    void OnDatagram(const std::uint8_t* data, std::size_t length);
    // The key live datagrams are sealed with, agreed inside the encrypted
    // control connection; until it is set every datagram is dropped. One key
    // per connection: false for another one.
    bool SetMediaKey(const std::array<std::uint8_t, 32>& key);
    // Frames and transmits a request (a log-in waits for the challenge).
    // False when the link must end (an account name that cannot be sent).
    bool Submit(const ClientRequest& request);
    // The log-out frame, framed with the next sequence number.
    std::vector<std::uint8_t> ByeFrame();

    bool LoggedIn() const { return m_token != 0; }

private:
    bool OnFrame(const wire::FrameView& frame);
    bool OnChallenge(const wire::FrameView& frame);
    bool OnLoginReply(const wire::FrameView& frame);
    bool OnError(const wire::FrameView& frame);
    bool SendLogin();
    void Transmit(const ClientRequest& request);
    bool Fail(int code);

    Sink& m_sink;
    ClientInbox& m_inbox;
    wire::FrameDecoder m_decoder;
    wire::FrameSequencer m_sequencer;
    bool m_haveChallenge = false;
    std::array<std::uint8_t, wire::kNonceSize> m_serverNonce{};
    bool m_loginPending = false;
    std::string m_account;
    std::string m_password;
    std::uint32_t m_token = 0;
    // Requests made before the log-in completed, sent once it has.
    std::vector<ClientRequest> m_held;
    // Copy of a live fragment handed to the callback, which may write into it.
    std::vector<std::uint8_t> m_livePacket;
    netauth::MediaOpener m_datagrams;
    // The opened bytes of the last datagram (wire::kMaxPayload, allocated once).
    std::vector<std::uint8_t> m_opened;
};
