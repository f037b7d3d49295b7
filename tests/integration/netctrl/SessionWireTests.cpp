// The library against a recorder played by the test, for faults and details
// a real recorder does not show on demand.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "NotificationLog.h"
#include "ScriptedRecorder.h"
#include "support/processes/FreePort.h"
#include "core/dvr/NotifyCodes.h"
#include "core/dvr/SettingsBlock.h"
#include "core/net/Frame.h"
#include "core/net/LiveMessages.h"
#include "core/net/TransferMessages.h"
#include "platform/netauth/LoginCrypto.h"
#include "platform/netauth/MediaSeal.h"
#include "platform/netctrl/ZERDNetwork.h"

using namespace std::chrono_literals;
using wire::MessageType;

namespace {

// Session objects read their time limits when they are made, so the short
// limits must be in place before the fixture's members are.
struct ShortNetTimeouts {
    ShortNetTimeouts() { setenv("OMBREL_NET_TIMEOUT_MS", "600", 1); }
};

class SessionWireTest : public ::testing::Test, private ShortNetTimeouts {
protected:

    bool Connect(bool tcpMedia = true)
    {
        std::string host = "127.0.0.1";
        return net.Create(host.data(), static_cast<short>(recorder.Port()), tcpMedia, kMsgNetworkNotify, log.Handle(),
                          0)
            && recorder.Accept();
    }

    void SessionOpen(std::string account, std::string password)
    {
        net.SessionOpen(account.data(), password.data());
    }

    bool ConnectAndLogIn(bool tcpMedia = true)
    {
        if (!Connect(tcpMedia))
            return false;
        SessionOpen("ADMIN", "5829");
        return recorder.LogIn().has_value() && log.WaitFor(net.SessionId(), kNotifyLoggedOnAdmin);
    }

    // Ends this session on both sides so that the next Connect starts afresh.
    void EndSession()
    {
        net.Destroy();
        net.SessionClose();
        recorder.CloseConnection();
    }

    ScriptedRecorder recorder;
    NotificationLog log;
    CZERDNetwork net;
};

TEST_F(SessionWireTest, LogInSendsAProofInsteadOfThePassword)
{
    ASSERT_TRUE(Connect());
    char account[] = "GUEST1";
    char password[] = "s3cret!";
    net.SessionOpen(account, password);
    auto login = recorder.LogIn(wire::kLoginUser);
    ASSERT_TRUE(login);
    EXPECT_EQ(login->AccountName(), "GUEST1");
    EXPECT_EQ(login->proof, netauth::ComputeLoginProof("s3cret!", login->account, recorder.ServerNonce(),
                                                       login->clientNonce));
    std::vector<std::uint8_t> bytes = login->Encode();
    EXPECT_EQ(std::search(bytes.begin(), bytes.end(), password, password + 7), bytes.end());
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyLoggedOnUser));
}

TEST_F(SessionWireTest, RequestsMadeBeforeTheLogInWaitForIt)
{
    ASSERT_TRUE(Connect());
    SessionOpen("ADMIN", "5829");
    ASSERT_TRUE(net.GetDVRInfo());
    ASSERT_TRUE(net.LiveMediaControl(3, 1));
    ASSERT_TRUE(recorder.LogIn()) << "the log-in must be the first frame the recorder sees";
    auto first = recorder.ReadFrame();
    auto second = recorder.ReadFrame();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->type, MessageType::GetSettings);
    EXPECT_EQ(second->type, MessageType::LiveControl);
}

TEST_F(SessionWireTest, RefusedLogInsEndTheSession)
{
    for (std::uint16_t code : {wire::kLoginWrongPassword, wire::kLoginUnknownAccount}) {
        ASSERT_TRUE(Connect());
        SessionOpen("ADMIN", "wrong");
        ASSERT_TRUE(recorder.LogIn(code));
        EXPECT_TRUE(log.WaitFor(net.SessionId(), code));
        EXPECT_TRUE(recorder.ClientClosed());
        EXPECT_FALSE(net.SessionPoll()) << "a refused session takes no requests";
        EndSession();
    }
}

TEST_F(SessionWireTest, AnAccountNameTooLongToSendIsAnUnknownAccount)
{
    ASSERT_TRUE(Connect());
    SessionOpen("ADMINISTRATOR_OF_ALL", "5829");
    ASSERT_TRUE(recorder.SendFrame(MessageType::Challenge, wire::ChallengeMessage{}.Encode()));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyUnknownAccount));
    EXPECT_TRUE(recorder.ClientClosed()) << "nothing but the close reaches the recorder";
}

TEST_F(SessionWireTest, BrokenFramesCloseTheLinkWithTheMatchingCode)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int code;
    };
    std::vector<std::uint8_t> badMagic = {'X', 'M', 'B', 'R', 1, 0, 1, 1, 0, 0, 0, 0, 32, 0, 0, 0};
    auto header = [](MessageType type, std::uint32_t sequence, std::uint32_t length, std::uint16_t version) {
        auto h = wire::EncodeFrameHeader(type, sequence, length, version);
        return std::vector<std::uint8_t>(h.begin(), h.end());
    };
    std::vector<Case> cases = {
        {"bad magic", badMagic, kNotifyLinkClosed},
        {"other version", header(MessageType::Challenge, 0, 32, 1), kNotifyVersionMismatch},
        {"oversized length", header(MessageType::LiveMedia, 0, 0x7FFFFFFF, wire::kProtocolVersion), kNotifyLinkClosed},
        {"client-bound type from the wrong side", header(MessageType::Poll, 0, 0, wire::kProtocolVersion),
         kNotifyLinkClosed},
        {"wrong sequence", header(MessageType::Challenge, 5, 32, wire::kProtocolVersion), kNotifyLinkClosed},
        {"frame before log-in", header(MessageType::PollReply, 0, 0, wire::kProtocolVersion), kNotifyLinkClosed},
        {"StartTls inside TLS", header(MessageType::StartTls, 0, 0, wire::kProtocolVersion), kNotifyLinkClosed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Connect());
        std::vector<std::uint8_t> bytes = c.bytes;
        bytes.resize(bytes.size() + 32, 0); // a payload for those that want one
        ASSERT_TRUE(recorder.SendRaw(bytes));
        EXPECT_TRUE(log.WaitFor(net.SessionId(), c.code));
        EXPECT_TRUE(recorder.ClientClosed());
        EndSession();
    }
}

TEST_F(SessionWireTest, ARecorderThatDoesNotOpenWithStartTlsGetsNothing)
{
    struct Case {
        const char* name;
        std::uint16_t version;
        int code;
    } cases[] = {{"an old recorder's clear challenge", 1, kNotifyVersionMismatch},
                 {"a clear challenge of this version", wire::kProtocolVersion, kNotifyLinkClosed}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string host = "127.0.0.1";
        ASSERT_TRUE(net.Create(host.data(), static_cast<short>(recorder.Port()), true, kMsgNetworkNotify,
                               log.Handle(), 0));
        ASSERT_TRUE(recorder.Accept(3s, ScriptedRecorder::Transport::Clear));
        SessionOpen("ADMIN", "5829");
        net.GetDVRInfo();
        ASSERT_TRUE(recorder.SendFrame(MessageType::Challenge, wire::ChallengeMessage{}.Encode(), c.version));
        EXPECT_TRUE(log.WaitFor(net.SessionId(), c.code));
        EXPECT_TRUE(recorder.ClientClosed());
        EXPECT_EQ(recorder.BytesFromClient(), 0u) << "not a byte in clear, not even a TLS hello";
        EndSession();
    }
}

TEST_F(SessionWireTest, RecorderErrorsMapToCodes)
{
    ASSERT_TRUE(Connect());
    wire::ErrorMessage error;
    error.code = wire::ErrorCode::TooManySessions;
    ASSERT_TRUE(recorder.SendFrame(MessageType::Error, error.Encode()));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyTooManySessions));
    EndSession();

    ASSERT_TRUE(ConnectAndLogIn());
    error.code = wire::ErrorCode::Unsupported;
    error.aboutType = static_cast<std::uint16_t>(MessageType::GetSettings);
    ASSERT_TRUE(recorder.SendFrame(MessageType::Error, error.Encode()));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyOperationRefused));
    EXPECT_TRUE(net.SessionPoll()) << "an unsupported operation leaves the session open";
    EXPECT_TRUE(recorder.ReadUntil(MessageType::Poll));

    error.code = wire::ErrorCode::NoTransfer;
    error.aboutType = static_cast<std::uint16_t>(MessageType::UploadChunk);
    ASSERT_TRUE(recorder.SendFrame(MessageType::Error, error.Encode()));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyUploadFailed));

    error.code = wire::ErrorCode::ShuttingDown;
    ASSERT_TRUE(recorder.SendFrame(MessageType::Error, error.Encode()));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyLinkClosed));
}

TEST_F(SessionWireTest, SilentRecorderIsReportedNotWaitedFor)
{
    // No challenge at all.
    ASSERT_TRUE(Connect());
    auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyPollTimeout, 3s));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EndSession();

    // Polls answered, then no more.
    ASSERT_TRUE(ConnectAndLogIn());
    net.SessionPoll();
    ASSERT_TRUE(recorder.ReadUntil(MessageType::Poll));
    ASSERT_TRUE(recorder.SendFrame(MessageType::PollReply, {}));
    std::this_thread::sleep_for(800ms);
    EXPECT_EQ(log.Codes(net.SessionId()).back(), kNotifyLoggedOnAdmin) << "an idle, answered session stays up";
    net.SessionPoll();
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyPollTimeout, 3s));
}

TEST_F(SessionWireTest, ADroppedLinkIsReported)
{
    ASSERT_TRUE(ConnectAndLogIn());
    recorder.CloseConnection();
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyLinkClosed));
    EXPECT_FALSE(net.GetDVRInfo());
}

TEST_F(SessionWireTest, ConnectingToAClosedPortFailsAtOnce)
{
    std::string host = "127.0.0.1";
    EXPECT_FALSE(net.Create(host.data(), static_cast<short>(FreeTcpPort()), true, kMsgNetworkNotify, log.Handle(), 0));
    std::string name = "no.such.host.invalid";
    EXPECT_FALSE(net.Create(name.data(), 7050, true, kMsgNetworkNotify, log.Handle(), 0));
    EXPECT_FALSE(net.Create(host.data(), 0, true, kMsgNetworkNotify, log.Handle(), 0));
    EXPECT_FALSE(net.Create(nullptr, 7050, true, kMsgNetworkNotify, log.Handle(), 0));
    EXPECT_EQ(log.Size(), 0u);
}

TEST_F(SessionWireTest, LogBlocksAreCountedByTheLibraryAndHandedOutInOrder)
{
    ASSERT_TRUE(ConnectAndLogIn());
    ASSERT_TRUE(net.DownloadLOG(2024, 5, 17));
    auto open = recorder.ReadUntil(MessageType::LogOpen);
    ASSERT_TRUE(open);
    auto date = wire::DateMessage::Decode(open->payload.data(), open->payload.size());
    ASSERT_TRUE(date);
    EXPECT_EQ(date->year, 2024);
    EXPECT_EQ(date->month, 5);
    EXPECT_EQ(date->day, 17);
    wire::LogInfoMessage info;
    info.found = true;
    info.size = 5000;
    ASSERT_TRUE(recorder.SendFrame(MessageType::LogInfo, info.Encode()));
    ASSERT_TRUE(log.WaitFor(net.SessionId(), kNotifyLogFound));
    EXPECT_EQ(net.GetLogFileSize(), 5000u);

    // The caller's sequence byte starts wherever an earlier transfer left it.
    std::vector<std::uint8_t> first(4096, 0xA1), second(904, 0xB2);
    for (std::uint32_t index = 0; index < 2; ++index) {
        ASSERT_TRUE(net.GetLOGFileBlock(static_cast<unsigned char>(200 + index)));
        auto request = recorder.ReadUntil(MessageType::LogBlockRequest);
        ASSERT_TRUE(request);
        auto block = wire::LogBlockRequestMessage::Decode(request->payload.data(), request->payload.size());
        ASSERT_TRUE(block);
        EXPECT_EQ(block->index, index);
        EXPECT_EQ(block->tag, 200 + index);
        wire::DataBlockMessage reply;
        reply.index = index;
        reply.tag = block->tag;
        reply.last = index == 1;
        reply.data = index == 0 ? first.data() : second.data();
        reply.length = static_cast<std::uint32_t>(index == 0 ? first.size() : second.size());
        ASSERT_TRUE(recorder.SendFrame(MessageType::LogBlock, reply.Encode()));
    }
    ASSERT_TRUE(log.WaitFor(net.SessionId(), kNotifyLogLastBlock));
    int length = 0;
    unsigned char* data = net.GetLOGFileChunkData(length);
    ASSERT_EQ(length, 4096);
    EXPECT_EQ(data[0], 0xA1);
    data = net.GetLOGFileChunkData(length);
    ASSERT_EQ(length, 904);
    EXPECT_EQ(data[903], 0xB2);
    data = net.GetLOGFileChunkData(length);
    EXPECT_EQ(length, 0);
    EXPECT_NE(data, nullptr);

    // A new download counts from block 0 again.
    ASSERT_TRUE(net.DownloadLOG(2024, 5, 18));
    ASSERT_TRUE(net.GetLOGFileBlock(77));
    auto request = recorder.ReadUntil(MessageType::LogBlockRequest);
    ASSERT_TRUE(request);
    EXPECT_EQ(wire::LogBlockRequestMessage::Decode(request->payload.data(), request->payload.size())->index, 0u);
}

TEST_F(SessionWireTest, CallerArgumentsOutsideTheWireLimitsAreRefusedLocally)
{
    ASSERT_TRUE(ConnectAndLogIn());
    std::vector<unsigned char> bytes(600, 1);
    EXPECT_FALSE(net.PutSerialPortData(bytes.data(), CZERDNetwork::kMaxSerialBytes + 1));
    EXPECT_FALSE(net.PutSerialPortData(bytes.data(), 0));
    EXPECT_FALSE(net.PutSerialPortData(nullptr, 3));
    EXPECT_FALSE(net.WriteFileChunk(bytes.data(), 513, 0, 0));
    EXPECT_FALSE(net.WriteFileChunk(bytes.data(), -1, 0, 1));
    std::vector<std::uint8_t> section(3000, 0);
    EXPECT_FALSE(net.SetDVRInfo(section.data(), 6));
    EXPECT_FALSE(net.SetDVRInfo(nullptr, 0));
    char empty[] = "folder/   ";
    EXPECT_FALSE(net.Fileupload(empty, 10));
    char name[] = "firmware.bin";
    EXPECT_FALSE(net.Fileupload(name, 65ul * 1024 * 1024));

    // The upload name travels without folders or trailing blanks.
    char path[] = "C:\\images\\logo.bmp ";
    ASSERT_TRUE(net.Fileupload(path, 10));
    auto start = recorder.ReadUntil(MessageType::UploadStart);
    ASSERT_TRUE(start);
    auto message = wire::UploadStartMessage::Decode(start->payload.data(), start->payload.size());
    ASSERT_TRUE(message);
    EXPECT_EQ(message->name, "logo.bmp");
    EXPECT_EQ(message->size, 10u);
    // Serial bytes arrive unchanged.
    ASSERT_TRUE(net.PutSerialPortData(bytes.data(), 7));
    auto serial = recorder.ReadUntil(MessageType::SerialData);
    ASSERT_TRUE(serial);
    EXPECT_EQ(serial->payload, std::vector<std::uint8_t>(7, 1));
}

TEST_F(SessionWireTest, UdpDatagramsNotSealedWithTheSessionsKeyAreDroppedAndCounted)
{
    ASSERT_TRUE(ConnectAndLogIn(false));
    std::atomic<int> packets{0};
    net.SetPacketLiveMediaCallback(
        [](void* context, unsigned char, unsigned char, unsigned char*, unsigned int) {
            static_cast<std::atomic<int>*>(context)->fetch_add(1);
        },
        &packets);
    ASSERT_TRUE(net.LiveMediaControl(1, 0));
    auto control = recorder.ReadUntil(MessageType::LiveControl);
    ASSERT_TRUE(control);
    auto live = wire::LiveControlMessage::Decode(control->payload.data(), control->payload.size());
    ASSERT_TRUE(live);
    ASSERT_NE(live->udpPort, 0);

    int udp = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(live->udpPort);
    // Well-formed datagrams under a key anyone on the path could work out
    // from what crosses in clear: the session token.
    netauth::MediaKey guessed{};
    std::memcpy(guessed.data(), "OMBREL TEST KEY", 15);
    guessed[15] = 0xED;
    guessed[16] = 0x5E;
    netauth::MediaSealer sealer;
    ASSERT_TRUE(sealer.SetKey(guessed));
    auto datagram = [&](std::uint32_t token) {
        const std::uint8_t payload[3] = {0, 0, 1};
        std::vector<std::uint8_t> bytes(sizeof payload + wire::kSealedDatagramOverhead);
        netauth::LiveDatagramHead head;
        head.token = token;
        ASSERT_EQ(sealer.Seal(head, payload, sizeof payload, bytes.data()), bytes.size());
        ::sendto(udp, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    };
    datagram(0x5EED);
    datagram(0xBAD);
    std::vector<std::uint8_t> junk(40, 0xEE);
    ::sendto(udp, junk.data(), junk.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    for (int i = 0; i < 100 && net.GetDroppedDatagrams().unauthentic < 3; ++i)
        std::this_thread::sleep_for(10ms);
    ::close(udp);
    EXPECT_EQ(net.GetDroppedDatagrams().unauthentic, 3u);
    EXPECT_EQ(net.GetDroppedDatagrams().replayed, 0u);
    EXPECT_EQ(packets.load(), 0);
    net.SetPacketLiveMediaCallback(nullptr, nullptr);
}

TEST_F(SessionWireTest, UnregisteringWaitsForARunningCallback)
{
    ASSERT_TRUE(ConnectAndLogIn());
    struct State {
        std::atomic<bool> inside{false};
        std::atomic<bool> finished{false};
    } state;
    net.SetPacketLiveMediaCallback(
        [](void* context, unsigned char, unsigned char, unsigned char*, unsigned int) {
            auto* s = static_cast<State*>(context);
            s->inside = true;
            std::this_thread::sleep_for(200ms);
            s->finished = true;
        },
        &state);
    std::vector<std::uint8_t> payload = {wire::kPacketVideo, 1, 0, 0, 0, 1, 0xE0};
    ASSERT_TRUE(recorder.SendFrame(MessageType::LiveMedia, payload));
    while (!state.inside)
        std::this_thread::sleep_for(1ms);
    net.SetPacketLiveMediaCallback(nullptr, nullptr);
    EXPECT_TRUE(state.finished) << "the callback was still running after unregistering returned";
}

TEST_F(SessionWireTest, NothingIsPostedAfterDestroyReturns)
{
    ASSERT_TRUE(ConnectAndLogIn());
    std::atomic<bool> calledAfter{false};
    std::atomic<bool> destroyed{false};
    struct Flags {
        std::atomic<bool>* destroyed;
        std::atomic<bool>* calledAfter;
    } flags{&destroyed, &calledAfter};
    net.SetPacketLiveMediaCallback(
        [](void* context, unsigned char, unsigned char, unsigned char*, unsigned int) {
            auto* f = static_cast<Flags*>(context);
            if (f->destroyed->load())
                f->calledAfter->store(true);
        },
        &flags);
    wire::MasksMessage masks{1, 1, 0};
    std::vector<std::uint8_t> live = {wire::kPacketVideo, 1, 0, 0, 0, 1, 0xE0};
    for (int i = 0; i < 50; ++i) {
        recorder.SendFrame(MessageType::Masks, masks.Encode());
        recorder.SendFrame(MessageType::LiveMedia, live);
    }
    ASSERT_TRUE(net.Destroy());
    destroyed = true;
    std::size_t posted = log.Size();
    for (int i = 0; i < 20; ++i)
        recorder.SendFrame(MessageType::Masks, masks.Encode());
    recorder.CloseConnection();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(log.Size(), posted);
    EXPECT_FALSE(calledAfter.load());
    EXPECT_FALSE(net.SessionPoll());
}

TEST_F(SessionWireTest, SessionCloseSendsWhatWasAskedThenSaysGoodbye)
{
    ASSERT_TRUE(ConnectAndLogIn());
    // The viewer's order at its end: stop live, then Destroy and SessionClose
    // at once, before the session thread had a chance to send.
    ASSERT_TRUE(net.LiveMediaControl(0, 0));
    net.Destroy();
    net.SessionClose();
    auto stop = recorder.ReadFrame();
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->type, MessageType::LiveControl);
    auto bye = recorder.ReadFrame();
    ASSERT_TRUE(bye) << "the goodbye frame must follow in sequence";
    EXPECT_EQ(bye->type, MessageType::Bye);
    EXPECT_TRUE(recorder.ClientClosed());
    EXPECT_TRUE(net.SessionClose()) << "closing twice is harmless";
    EXPECT_TRUE(net.Destroy());
}

TEST_F(SessionWireTest, MovingASessionKeepsItsConnectionAndIdentity)
{
    ASSERT_TRUE(ConnectAndLogIn());
    unsigned id = net.SessionId();
    CZERDNetwork moved(std::move(net));
    EXPECT_EQ(moved.SessionId(), id);
    EXPECT_NE(net.SessionId(), id);
    EXPECT_NE(net.SessionId(), 0u);
    // The vacated object is idle: closing it leaves the moved session alone.
    net.Destroy();
    net.SessionClose();
    EXPECT_FALSE(net.SessionPoll());
    ASSERT_TRUE(moved.SessionPoll());
    auto poll = recorder.ReadFrame();
    ASSERT_TRUE(poll);
    EXPECT_EQ(poll->type, MessageType::Poll);
    ASSERT_TRUE(recorder.SendFrame(MessageType::Settings, SettingsBlockBytes(MakeDefaultSettingsBlock(3))));
    EXPECT_TRUE(log.WaitFor(id, kNotifySettingsReceived));
    EXPECT_EQ(moved.GetReceivedDVRInfo().system.dvrTypeCode, 3);

    CZERDNetwork other;
    other.swap(moved);
    EXPECT_EQ(other.SessionId(), id);
    EXPECT_TRUE(other.SessionPoll());
}

TEST_F(SessionWireTest, ASettingsBlockOfNoKnownModelIsRefused)
{
    ASSERT_TRUE(ConnectAndLogIn());
    ASSERT_TRUE(recorder.SendFrame(MessageType::Settings, SettingsBlockBytes(MakeDefaultSettingsBlock(9))));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyLinkClosed));
    EXPECT_EQ(net.GetReceivedDVRInfo().system.dvrTypeCode, 0);
}

} // namespace
