#include "platform/netctrl/ClientProtocol.h"

#include "core/net/Frame.h"
#include "core/net/SessionMessages.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kToken = 0x01020304;
const netauth::MediaKey kKey{1, 2, 3, 4};

class LivePackets : public ClientProtocol::Sink {
public:
    void Notify(int) override {}
    void Transmit(std::vector<std::uint8_t>, ClientProtocol::Answer) override {}
    void Live(std::uint8_t type, std::uint8_t* packet, std::size_t length) override
    {
        packets.emplace_back(packet, packet + length);
        types.push_back(type);
    }
    void AnswerReceived(ClientProtocol::Answer) override {}
    std::vector<std::vector<std::uint8_t>> packets;
    std::vector<std::uint8_t> types;
};

void LogIn(ClientProtocol& protocol)
{
    protocol.Submit(ClientRequest::Login("ADMIN", "5829"));
    std::vector<std::uint8_t> frames;
    wire::AppendFrame(frames, wire::MessageType::Challenge, 0, wire::ChallengeMessage{}.Encode());
    wire::LoginReplyMessage reply;
    reply.code = wire::kLoginAdministrator;
    reply.sessionToken = kToken;
    wire::AppendFrame(frames, wire::MessageType::LoginReply, 1, reply.Encode());
    ASSERT_TRUE(protocol.OnControlBytes(frames.data(), frames.size()));
    ASSERT_TRUE(protocol.LoggedIn());
}

}  // namespace

TEST(ClientProtocolDatagrams, OnlyAuthenticFreshMediaOfTheLoggedInSessionReachesTheCallback)
{
    LivePackets sink;
    ClientInbox inbox;
    ClientProtocol protocol(sink, inbox);
    netauth::MediaSealer sealer;
    ASSERT_TRUE(sealer.SetKey(kKey));
    const std::uint8_t payload[] = {0x00, 0x00, 0x01, 0xE0, 0x42};
    auto seal = [&] {
        netauth::LiveDatagramHead head;
        head.token = kToken;
        head.packetType = wire::kPacketAudio;
        head.count = 2;
        head.index = 1;
        std::vector<std::uint8_t> datagram(sizeof payload + wire::kSealedDatagramOverhead);
        datagram.resize(sealer.Seal(head, payload, sizeof payload, datagram.data()));
        return datagram;
    };
    const auto early = seal();
    protocol.OnDatagram(early.data(), early.size());
    EXPECT_EQ(inbox.Dropped().unauthentic, 1u) << "no key yet";
    ASSERT_TRUE(protocol.SetMediaKey(kKey));
    EXPECT_FALSE(protocol.SetMediaKey(netauth::MediaKey{}));
    protocol.OnDatagram(early.data(), early.size());
    EXPECT_EQ(inbox.Dropped().unauthentic, 2u) << "not logged in yet";

    LogIn(protocol);
    const auto datagram = seal();
    protocol.OnDatagram(datagram.data(), datagram.size());
    protocol.OnDatagram(datagram.data(), datagram.size());
    ASSERT_EQ(sink.packets.size(), 1u);
    EXPECT_EQ(sink.types[0], wire::kPacketAudio);
    EXPECT_EQ(sink.packets[0], (std::vector<std::uint8_t>{2, 1, 0x00, 0x00, 0x01, 0xE0, 0x42}));
    EXPECT_EQ(inbox.Dropped().replayed, 1u);
    EXPECT_EQ(inbox.Dropped().unauthentic, 2u);
}
