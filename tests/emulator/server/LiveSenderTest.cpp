#include "LiveSender.h"
#include "Recorder.h"
#include "support/TempDir.h"

#include "platform/netauth/MediaSeal.h"
#include "platform/netauth/OpenSslLoginAuthority.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <set>

using namespace emulator;

namespace {

const std::string kCache = std::string(OMBREL_BIN_DIR) + "/../test-cache/emulator";
constexpr uint32_t kToken = 0x0A0B0C0D;
const netauth::MediaKey kKey{7, 7, 7};

// One camera's datagrams sent over real loopback sockets, opened as a client would.
class LiveSenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecorderOptions options;
        options.port = 0;
        options.model = 6;
        options.loopSeconds = 1;
        options.dataDir = data_.path();
        std::string error;
        recorder_ = Recorder::Create(options, kCache, &error);
        ASSERT_TRUE(recorder_) << error;
        connection_ = std::make_unique<wire::RecorderConnection>(*recorder_, authority_,
                                                                 wire::RecorderConnectionOptions{}, 0);
        receiver_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sender_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        ASSERT_EQ(::bind(receiver_, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        ::getsockname(receiver_, reinterpret_cast<sockaddr*>(&a), &length);
        port_ = ntohs(a.sin_port);
        peer_ = a;
        ASSERT_TRUE(opener_.SetKey(kKey));
    }
    void TearDown() override
    {
        ::close(receiver_);
        ::close(sender_);
    }
    // Sends camera 1's units due in [fromMs, toMs).
    void Stream(LiveSender& live, uint64_t fromMs, uint64_t toMs)
    {
        wire::LiveReplyMessage served;
        served.videoMask = 1;
        live.Configure(served, port_, peer_, kToken, fromMs);
        live.SendDue(toMs, *connection_, sender_);
    }
    // Opens what arrived; returns how many datagrams did.
    int Receive()
    {
        int datagrams = 0;
        std::vector<uint8_t> buffer(65536);
        std::vector<uint8_t> out(wire::kMaxPayload);
        pollfd p{receiver_, POLLIN, 0};
        while (::poll(&p, 1, 200) > 0) {
            const ssize_t n = ::recv(receiver_, buffer.data(), buffer.size(), 0);
            if (n <= 0)
                break;
            ++datagrams;
            if (opener_.Open(buffer.data(), static_cast<size_t>(n), kToken, out.data()))
                ++opened_;
        }
        return datagrams;
    }

    TempDir data_;
    std::unique_ptr<Recorder> recorder_;
    netauth::OpenSslLoginAuthority authority_;
    std::unique_ptr<wire::RecorderConnection> connection_;
    int receiver_ = -1;
    int sender_ = -1;
    uint16_t port_ = 0;
    sockaddr_in peer_{};
    netauth::MediaOpener opener_;
    int opened_ = 0;
    SendTimes sendTimes_{nullptr};  // not recorded
};

}  // namespace

TEST_F(LiveSenderTest, NothingLeavesWithoutAKeyAndCountersRunOnAcrossRequests)
{
    LiveSender live(recorder_->Feeds(), FaultOptions{}, 1, sendTimes_);
    Stream(live, 0, 400);
    EXPECT_EQ(Receive(), 0) << "live media never goes out in clear";

    ASSERT_TRUE(live.SetMediaKey(kKey));
    EXPECT_FALSE(live.SetMediaKey(netauth::MediaKey{}));
    Stream(live, 1000, 1400);
    const int first = Receive();
    EXPECT_GT(first, 0);
    // A new request restarts the streams, not the counters: nothing repeats.
    Stream(live, 2000, 2400);
    const int second = Receive();
    EXPECT_GT(second, 0);
    EXPECT_EQ(opened_, first + second);
    EXPECT_EQ(opener_.Dropped().replayed, 0u);
    EXPECT_EQ(opener_.Dropped().unauthentic, 0u);
}

TEST_F(LiveSenderTest, TamperedAndRepeatedDatagramsAreTheOnesDropped)
{
    FaultOptions faults;
    faults.tamperDatagramsPercent = 20;
    faults.repeatDatagramsPercent = 20;
    LiveSender live(recorder_->Feeds(), faults, 3, sendTimes_);
    ASSERT_TRUE(live.SetMediaKey(kKey));
    Stream(live, 0, 900);
    const int received = Receive();
    const netauth::DroppedDatagrams dropped = opener_.Dropped();
    EXPECT_GT(dropped.unauthentic, 0u);
    EXPECT_GT(dropped.replayed, 0u);
    EXPECT_GT(opened_, 0);
    EXPECT_EQ(static_cast<uint64_t>(received), opened_ + dropped.unauthentic + dropped.replayed);
}
