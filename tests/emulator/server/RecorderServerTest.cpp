#include "Recorder.h"
#include "RecorderServer.h"
#include "support/TempDir.h"

#include "core/net/FrameDecoder.h"
#include "core/net/LiveMessages.h"
#include "platform/netauth/LoginCrypto.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <map>
#include <set>

using namespace emulator;
using namespace std::chrono_literals;

namespace {

// Camera loops are encoded once and kept beside the test programs.
const std::string kCache = std::string(OMBREL_BIN_DIR) + "/../test-cache/emulator";

struct Received {
    wire::MessageType type;
    std::vector<uint8_t> payload;
};

// A bare client on a real loopback socket, speaking the protocol by hand.
class WireClient {
public:
    explicit WireClient(uint16_t port)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~WireClient() { ::close(fd_); }
    bool connected() const { return connected_; }

    void Send(wire::MessageType type, const std::vector<uint8_t>& payload = {})
    {
        std::vector<uint8_t> bytes;
        wire::AppendFrame(bytes, type, sequencer_.Take(), payload);
        ASSERT_EQ(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
    }

    // The next frame, or nullopt on end of stream, error or time-out.
    std::optional<Received> Next(std::chrono::milliseconds timeout = 3000ms)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            wire::FrameView f;
            if (decoder_.Next(f) == wire::FrameDecoder::Status::Frame)
                return Received{f.type, std::vector<uint8_t>(f.payload, f.payload + f.length)};
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p{fd_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
                return std::nullopt;
            uint8_t buffer[65536];
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) {
                closed_ = true;
                return std::nullopt;
            }
            bytesReceived_ += static_cast<size_t>(n);
            decoder_.Feed(buffer, static_cast<size_t>(n));
        }
    }

    // The next frame of the given type, skipping live media and pushes.
    std::optional<Received> NextOf(wire::MessageType type, std::chrono::milliseconds timeout = 3000ms)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            auto r = Next(std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now()));
            if (!r || r->type == type)
                return r;
        }
        return std::nullopt;
    }

    uint16_t LogIn(const std::string& account, const std::string& password)
    {
        const auto challenge = Next();
        if (!challenge || challenge->type != wire::MessageType::Challenge)
            return 0;
        const auto nonce = wire::ChallengeMessage::Decode(challenge->payload.data(), challenge->payload.size());
        wire::LoginRequestMessage request;
        wire::LoginRequestMessage::PackAccount(account, request.account);
        request.clientNonce = *netauth::RandomNonce();
        request.proof =
            netauth::ComputeLoginProof(password, request.account, nonce->serverNonce, request.clientNonce);
        Send(wire::MessageType::LoginRequest, request.Encode());
        const auto reply = Next();
        if (!reply || reply->type != wire::MessageType::LoginReply)
            return 0;
        return wire::LoginReplyMessage::Decode(reply->payload.data(), reply->payload.size())->code;
    }

    // True when the recorder closed the connection and sent nothing more.
    bool ClosedByPeer(std::chrono::milliseconds timeout = 3000ms)
    {
        while (Next(timeout)) {
        }
        return closed_;
    }
    size_t BytesReceived() const { return bytesReceived_; }

private:
    int fd_ = -1;
    bool connected_ = false;
    bool closed_ = false;
    size_t bytesReceived_ = 0;
    wire::FrameSequencer sequencer_;
    wire::FrameDecoder decoder_{wire::Direction::ToClient};
};

class RecorderServerTest : public ::testing::Test {
protected:
    // MODEL_F unless the options name another model: four cameras, four sensors.
    void Serve(RecorderOptions options)
    {
        options.port = 0;
        if (options.model == RecorderOptions{}.model)
            options.model = 6;
        options.loopSeconds = 1;
        options.alarmSeconds = 1;
        options.dataDir = data_.path();
        std::string error;
        recorder_ = Recorder::Create(options, kCache, &error);
        ASSERT_TRUE(recorder_) << error;
        server_ = RecorderServer::Create(*recorder_, &error);
        ASSERT_TRUE(server_) << error;
        server_->Start();
    }
    void TearDown() override
    {
        server_.reset();
        recorder_.reset();
    }
    uint16_t Port() const { return server_->Port(); }

    TempDir data_;
    std::unique_ptr<Recorder> recorder_;
    std::unique_ptr<RecorderServer> server_;
};

wire::ErrorCode ErrorOf(const std::optional<Received>& r)
{
    if (!r || r->type != wire::MessageType::Error)
        return wire::ErrorCode::BadRequest;
    return wire::ErrorMessage::Decode(r->payload.data(), r->payload.size())->code;
}

}  // namespace

TEST_F(RecorderServerTest, SessionsBeyondTheLimitAreTurnedAwayUntilOneEnds)
{
    RecorderOptions options;
    options.maxSessions = 1;
    Serve(options);
    WireClient first(Port());
    EXPECT_EQ(first.LogIn("ADMIN", "5829"), wire::kLoginAdministrator);
    {
        WireClient second(Port());
        EXPECT_EQ(ErrorOf(second.Next()), wire::ErrorCode::TooManySessions);
        EXPECT_TRUE(second.ClosedByPeer());
    }
    first.Send(wire::MessageType::Bye);
    EXPECT_TRUE(first.ClosedByPeer());
    WireClient third(Port());
    EXPECT_EQ(third.LogIn("GUEST1", "5829"), wire::kLoginUser);
}

TEST_F(RecorderServerTest, AlarmsArePushedAsMasksAndEndByThemselves)
{
    Serve({});
    WireClient client(Port());
    ASSERT_EQ(client.LogIn("ADMIN", "5829"), wire::kLoginAdministrator);
    server_->RaiseAlarm(9);  // MODEL_F has four sensors: ignored
    server_->RaiseAlarm(2);
    auto masks = client.NextOf(wire::MessageType::Masks);
    ASSERT_TRUE(masks);
    EXPECT_EQ(wire::MasksMessage::Decode(masks->payload.data(), 6)->sensor, 0x0004);
    EXPECT_EQ(wire::MasksMessage::Decode(masks->payload.data(), 6)->video, 0x000F);
    masks = client.NextOf(wire::MessageType::Masks, 2500ms);
    ASSERT_TRUE(masks);
    EXPECT_EQ(wire::MasksMessage::Decode(masks->payload.data(), 6)->sensor, 0);
}

TEST_F(RecorderServerTest, ScheduledAlarmsVisitTheSensorsInTurn)
{
    RecorderOptions options;
    options.alarmEverySeconds = 1;
    Serve(options);
    WireClient client(Port());
    ASSERT_EQ(client.LogIn("ADMIN", "5829"), wire::kLoginAdministrator);
    std::vector<uint16_t> raised;
    const auto until = std::chrono::steady_clock::now() + 3500ms;
    while (raised.size() < 2 && std::chrono::steady_clock::now() < until) {
        const auto masks = client.NextOf(wire::MessageType::Masks, 1500ms);
        ASSERT_TRUE(masks);
        const uint16_t sensor = wire::MasksMessage::Decode(masks->payload.data(), 6)->sensor;
        if (sensor != 0 && (raised.empty() || (sensor & ~raised.back()) != 0))
            raised.push_back(static_cast<uint16_t>(sensor & (raised.empty() ? 0xFFFF : ~raised.back())));
    }
    EXPECT_EQ(raised, (std::vector<uint16_t>{0x0001, 0x0002}));
}

TEST_F(RecorderServerTest, PairedCamerasShareOnePictureSentOnce)
{
    RecorderOptions options;
    options.model = 1;  // MODEL_A at group A resolution 0: cameras 1+2 and 3+4 in two pictures
    Serve(options);
    WireClient client(Port());
    ASSERT_EQ(client.LogIn("ADMIN", "5829"), wire::kLoginAdministrator);
    client.Send(wire::MessageType::LiveControl, wire::LiveControlMessage{0x000F, 0, 0}.Encode());
    std::map<int, int> units;
    const auto until = std::chrono::steady_clock::now() + 1000ms;
    while (std::chrono::steady_clock::now() < until) {
        const auto r = client.Next(1000ms);
        ASSERT_TRUE(r);
        const auto f = r->type == wire::MessageType::LiveMedia
            ? wire::DecodeLiveMedia(r->payload.data(), r->payload.size())
            : std::nullopt;
        if (f && f->index == 0 && f->PayloadLength() >= 4)
            ++units[f->Payload()[3]];
    }
    ASSERT_EQ(units.size(), 2u);
    EXPECT_GT(units[0xE0], 15);
    EXPECT_GT(units[0xE1], 15);
    EXPECT_LT(units[0xE0], 40) << "a shared picture goes out once, not once per camera";
}

TEST_F(RecorderServerTest, InjectedFaultsShowOnTheWire)
{
    auto serveWith = [this](auto setFault) {
        server_.reset();
        recorder_.reset();
        RecorderOptions options;
        setFault(options.faults);
        Serve(options);
    };

    serveWith([](auto& faults) { faults.refuseConnections = true; });
    {
        WireClient refused(Port());
        EXPECT_TRUE(refused.ClosedByPeer());
        EXPECT_EQ(refused.BytesReceived(), 0u) << "a refused connection gets not a single byte";
    }

    serveWith([](auto& faults) { faults.dropAfterFrames = 2; });
    {
        WireClient dropped(Port());
        ASSERT_EQ(dropped.LogIn("ADMIN", "5829"), wire::kLoginAdministrator);
        dropped.Send(wire::MessageType::Poll);
        EXPECT_TRUE(dropped.ClosedByPeer()) << "reset before the poll is answered";
    }

    serveWith([](auto& faults) { faults.delayMs = 400; });
    {
        WireClient slow(Port());
        ASSERT_EQ(slow.LogIn("ADMIN", "5829"), wire::kLoginAdministrator);
        const auto start = std::chrono::steady_clock::now();
        slow.Send(wire::MessageType::Poll);
        ASSERT_TRUE(slow.NextOf(wire::MessageType::PollReply));
        EXPECT_GE(std::chrono::steady_clock::now() - start, 390ms);
    }

    serveWith([](auto& faults) { faults.dropFragmentsPercent = 100; });
    WireClient lossy(Port());
    ASSERT_EQ(lossy.LogIn("ADMIN", "5829"), wire::kLoginAdministrator);
    lossy.Send(wire::MessageType::LiveControl, wire::LiveControlMessage{0x000F, 0x0001, 0}.Encode());
    ASSERT_TRUE(lossy.NextOf(wire::MessageType::LiveReply));
    lossy.Send(wire::MessageType::Poll);
    const auto r = lossy.Next();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->type, wire::MessageType::PollReply) << "no live media got through and the session stands";
}

TEST_F(RecorderServerTest, SendTimesNameEachVideoUnitBeforeTheClientHasAllOfIt)
{
    RecorderOptions options;
    options.sendTimesPath = data_ / "send-times.txt";
    Serve(options);
    WireClient client(Port());
    ASSERT_EQ(client.LogIn("ADMIN", "5829"), wire::kLoginAdministrator);
    client.Send(wire::MessageType::LiveControl, wire::LiveControlMessage{0x0003, 0x0001, 0}.Encode());
    const auto start = std::chrono::steady_clock::now();
    std::pair<int, uint64_t> unit;  // camera and PTS of the unit on its way
    std::map<std::pair<int, uint64_t>, std::chrono::nanoseconds> received;  // when the last fragment came
    while (std::chrono::steady_clock::now() < start + 600ms) {
        const auto r = client.Next(1000ms);
        ASSERT_TRUE(r);
        const auto f = r->type == wire::MessageType::LiveMedia
            ? wire::DecodeLiveMedia(r->payload.data(), r->payload.size())
            : std::nullopt;
        if (!f || f->packetType != wire::kPacketVideo)
            continue;
        const uint8_t* p = f->Payload();
        if (f->index == 0 && f->PayloadLength() >= 14 && (p[7] & 0x80)) {  // the PES header's PTS
            unit = {p[3] - 0xE0, (uint64_t(p[9] & 0x0E) << 29) | (uint64_t(p[10]) << 22) |
                                     (uint64_t(p[11] & 0xFE) << 14) | (uint64_t(p[12]) << 7) | (p[13] >> 1)};
        }
        // Units of different streams are not interleaved: this fragment ends that unit.
        if (f->index + 1 == f->count)
            received.emplace(unit, std::chrono::steady_clock::now().time_since_epoch());
    }
    server_.reset();  // closes the file

    std::ifstream file(options.sendTimesPath);
    int camera = 0;
    uint64_t pts = 0;
    long long at = 0;
    size_t matched = 0;
    while (file >> camera >> pts >> at) {
        const auto found = received.find({camera, pts});
        if (found == received.end())
            continue;  // sent after the client stopped reading
        ++matched;
        // Stamped as send() returns, which may be a moment after the client took the bytes.
        EXPECT_LE(std::chrono::nanoseconds(at), found->second + 20ms) << camera << " " << pts;
    }
    EXPECT_GT(received.size(), 20u);
    EXPECT_EQ(matched, received.size()) << "every unit received had left and was named once";
}
