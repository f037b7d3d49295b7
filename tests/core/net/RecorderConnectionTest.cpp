#include "core/net/RecorderConnection.h"

#include <gtest/gtest.h>

#include <map>

using namespace wire;

namespace {

// Proof = password bytes XOR-folded over the input; enough to tell right
// from wrong passwords without libcrypto.
class FakeAuthority : public LoginAuthority {
public:
    std::optional<Nonce> NewNonce() override
    {
        Nonce n{};
        n.fill(0x5A);
        return n;
    }
    std::optional<uint32_t> NewToken() override { return 0x1234; }
    Proof ExpectedProof(const std::string& password, const std::array<uint8_t, kAccountFieldSize>& account,
                        const Nonce& server, const Nonce& client) override
    {
        Proof p{};
        for (size_t i = 0; i < p.size(); ++i)
            p[i] = static_cast<uint8_t>(server[i] ^ client[i] ^ account[i % account.size()]
                                        ^ (password.empty() ? 0 : password[i % password.size()]));
        return p;
    }
    bool ProofsEqual(const Proof& a, const Proof& b) override { return a == b; }
};

class MemorySink : public UploadSink {
public:
    MemorySink(std::map<std::string, std::vector<uint8_t>>& files, std::string name) : files_(files), name_(name) {}
    bool Write(const uint8_t* d, size_t n) override
    {
        data_.insert(data_.end(), d, d + n);
        return true;
    }
    bool Commit() override
    {
        files_[name_] = data_;
        return true;
    }

private:
    std::map<std::string, std::vector<uint8_t>>& files_;
    std::string name_;
    std::vector<uint8_t> data_;
};

class FakeBackend : public RecorderBackend {
public:
    std::optional<std::string> PasswordOf(const std::string& account) override
    {
        if (account == "ADMIN" || account == "GUEST0")
            return std::string("5829");
        return std::nullopt;
    }
    std::vector<uint8_t> SettingsBlock() override { return std::vector<uint8_t>(kSettingsBlockSize, 7); }
    WriteReason WriteSection(uint8_t section, const uint8_t*, size_t length) override
    {
        writes.push_back({section, length});
        return section < 6 ? WriteReason::Ok : WriteReason::BadSection;
    }
    MasksMessage Masks() override { return {0x000F, 0x0001, 0}; }
    LiveReplyMessage ServeLive(const LiveControlMessage& r) override
    {
        return {static_cast<uint16_t>(r.videoMask & 0x000F), static_cast<uint16_t>(r.audioMask & 0x0001)};
    }
    void SerialData(const uint8_t* d, size_t n) override { serial.insert(serial.end(), d, d + n); }
    std::optional<std::vector<uint8_t>> DayLog(uint16_t, uint8_t, uint8_t day) override
    {
        if (day == 1)
            return std::nullopt;
        if (day == 2)
            return std::vector<uint8_t>{};
        std::vector<uint8_t> log(2 * kLogBlockSize + 16);
        for (size_t i = 0; i < log.size(); ++i)
            log[i] = static_cast<uint8_t>(i);
        return log;
    }
    uint32_t MonthMask(uint16_t, uint8_t month) override { return month == 2 ? 0x0FFFFFFF : 0; }
    std::vector<uint8_t> DailyProfile(uint16_t, uint8_t, uint8_t day) override
    {
        ++profileCalls;
        return day == 5 ? std::vector<uint8_t>(392, 3) : std::vector<uint8_t>{};
    }
    std::unique_ptr<UploadSink> BeginUpload(const std::string& name, uint32_t) override
    {
        return std::make_unique<MemorySink>(files, name);
    }

    std::vector<std::pair<uint8_t, size_t>> writes;
    std::vector<uint8_t> serial;
    std::map<std::string, std::vector<uint8_t>> files;
    int profileCalls = 0;
};

struct Reply {
    MessageType type;
    std::vector<uint8_t> payload;
};

// Plays the client: frames requests and reads what the recorder answered.
class RecorderConnectionTest : public ::testing::Test {
protected:
    // A fresh connection, with a fresh client side to talk to it.
    void Open(RecorderConnectionOptions options = {}, bool overLimit = false)
    {
        sequencer = {};
        decoder = FrameDecoder(Direction::ToClient);
        connection = std::make_unique<RecorderConnection>(backend, authority, options, now);
        connection->Start(overLimit);
    }

    void SendRaw(const std::vector<uint8_t>& bytes) { connection->OnBytes(bytes.data(), bytes.size(), now); }

    void Send(MessageType type, const std::vector<uint8_t>& payload = {})
    {
        std::vector<uint8_t> bytes;
        AppendFrame(bytes, type, sequencer.Take(), payload);
        SendRaw(bytes);
    }

    std::vector<Reply> Replies()
    {
        auto& out = connection->Outgoing();
        decoder.Feed(out.data(), out.size());
        connection->ConsumeOutgoing(out.size());
        std::vector<Reply> replies;
        FrameView f;
        while (decoder.Next(f) == FrameDecoder::Status::Frame)
            replies.push_back({f.type, std::vector<uint8_t>(f.payload, f.payload + f.length)});
        EXPECT_EQ(decoder.error(), DecodeError::None) << "the recorder's own frames decode";
        return replies;
    }

    Reply OneReply()
    {
        auto replies = Replies();
        EXPECT_EQ(replies.size(), 1u);
        return replies.empty() ? Reply{MessageType::Error, {}} : replies.front();
    }

    void Login(const std::string& account, const std::string& password)
    {
        const auto challenge = OneReply();
        ASSERT_EQ(challenge.type, MessageType::Challenge);
        const auto nonce = ChallengeMessage::Decode(challenge.payload.data(), challenge.payload.size());
        LoginRequestMessage request;
        LoginRequestMessage::PackAccount(account, request.account);
        request.clientNonce.fill(0x33);
        request.proof = authority.ExpectedProof(password, request.account, nonce->serverNonce, request.clientNonce);
        Send(MessageType::LoginRequest, request.Encode());
    }

    uint16_t LoginCode()
    {
        const auto reply = OneReply();
        EXPECT_EQ(reply.type, MessageType::LoginReply);
        const auto decoded = LoginReplyMessage::Decode(reply.payload.data(), reply.payload.size());
        return decoded ? decoded->code : 0;
    }

    void LoggedIn(RecorderConnectionOptions options = {})
    {
        Open(options);
        Login("ADMIN", "5829");
        ASSERT_EQ(LoginCode(), kLoginAdministrator);
    }

    static ErrorCode ErrorOf(const Reply& r)
    {
        EXPECT_EQ(r.type, MessageType::Error);
        const auto e = ErrorMessage::Decode(r.payload.data(), r.payload.size());
        return e ? e->code : ErrorCode::BadRequest;
    }

    FakeBackend backend;
    FakeAuthority authority;
    uint64_t now = 1000;
    std::unique_ptr<RecorderConnection> connection;
    FrameSequencer sequencer;
    FrameDecoder decoder{Direction::ToClient};
};

}  // namespace

TEST_F(RecorderConnectionTest, AccountsLogInAsAdministratorOrUser)
{
    LoggedIn();
    EXPECT_TRUE(connection->IsAdministrator());
    EXPECT_EQ(connection->SessionToken(), 0x1234u);

    Open();
    Login("GUEST0", "5829");
    EXPECT_EQ(LoginCode(), kLoginUser);
    EXPECT_FALSE(connection->IsAdministrator());
    EXPECT_FALSE(connection->ShouldClose());
}

TEST_F(RecorderConnectionTest, FailedLogInsAnswerThenClose)
{
    struct Case {
        std::string account, password;
        uint16_t code;
        bool reject;
    };
    for (const Case& c : {Case{"ADMIN", "5830", kLoginWrongPassword, false},
                          Case{"GUEST1", "5829", kLoginUnknownAccount, false},
                          Case{"admin", "5829", kLoginUnknownAccount, false},
                          Case{"ADMIN", "5829", kLoginWrongPassword, true}}) {
        RecorderConnectionOptions options;
        options.rejectLogins = c.reject;
        Open(options);
        Login(c.account, c.password);
        EXPECT_EQ(LoginCode(), c.code) << c.account << "/" << c.password;
        EXPECT_TRUE(connection->ShouldClose());
        Send(MessageType::GetSettings);
        EXPECT_TRUE(Replies().empty()) << "nothing is read after the close";
    }
}

TEST_F(RecorderConnectionTest, OverTheLimitOrBeforeLogInTheSessionIsRefusedAndCloses)
{
    Open({}, true);
    EXPECT_EQ(ErrorOf(OneReply()), ErrorCode::TooManySessions);
    EXPECT_TRUE(connection->ShouldClose());

    Open();
    Replies();
    Send(MessageType::GetSettings);
    EXPECT_EQ(ErrorOf(OneReply()), ErrorCode::NotLoggedIn);
    EXPECT_TRUE(connection->ShouldClose());
}

TEST_F(RecorderConnectionTest, BadFramesCloseTheConnection)
{
    LoggedIn();
    std::vector<uint8_t> other;
    AppendFrame(other, MessageType::Poll, sequencer.Take(), nullptr, 0, 1);
    SendRaw(other);
    EXPECT_EQ(ErrorOf(OneReply()), ErrorCode::VersionMismatch);
    EXPECT_TRUE(connection->ShouldClose());

    LoggedIn();
    SendRaw({'G', 'E', 'T', ' ', '/'});
    EXPECT_TRUE(Replies().empty()) << "garbage gets no answer";
    EXPECT_TRUE(connection->ShouldClose());

    LoggedIn();
    Send(MessageType::LoginRequest, std::vector<uint8_t>(80));
    EXPECT_EQ(ErrorOf(OneReply()), ErrorCode::BadRequest) << "a second log-in";
    EXPECT_TRUE(connection->ShouldClose());
}

TEST_F(RecorderConnectionTest, SettingsComeWithMasksAndSectionWritesAreAnswered)
{
    LoggedIn();
    Send(MessageType::GetSettings);
    auto replies = Replies();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].type, MessageType::Settings);
    EXPECT_EQ(replies[0].payload.size(), kSettingsBlockSize);
    EXPECT_EQ(replies[1].type, MessageType::Masks);

    Send(MessageType::WriteSection, WriteSectionMessage{4, std::vector<uint8_t>(16).data(), 16}.Encode());
    Send(MessageType::WriteSection, WriteSectionMessage{9, std::vector<uint8_t>(16).data(), 16}.Encode());
    replies = Replies();
    ASSERT_EQ(replies.size(), 2u);
    const auto ok = WriteResultMessage::Decode(replies[0].payload.data(), 4);
    const auto refused = WriteResultMessage::Decode(replies[1].payload.data(), 4);
    EXPECT_TRUE(ok->ok);
    EXPECT_FALSE(refused->ok);
    EXPECT_EQ(refused->reason, WriteReason::BadSection);
    EXPECT_EQ(backend.writes.size(), 2u);
}

TEST_F(RecorderConnectionTest, PollsAreAnsweredUntilTheFaultStopsThem)
{
    RecorderConnectionOptions options;
    options.stopPollsAfterMs = 3000;
    LoggedIn(options);
    Send(MessageType::Poll);
    EXPECT_EQ(OneReply().type, MessageType::PollReply);
    now += 3000;
    Send(MessageType::Poll);
    EXPECT_TRUE(Replies().empty());
    EXPECT_FALSE(connection->ShouldClose()) << "silent, not closed";
}

TEST_F(RecorderConnectionTest, TimeOutsCloseIdleConnections)
{
    Open();
    Replies();
    now += 9999;
    connection->OnTick(now);
    EXPECT_FALSE(connection->ShouldClose());
    now += 1;
    connection->OnTick(now);
    EXPECT_EQ(ErrorOf(OneReply()), ErrorCode::LoginTimeout);
    EXPECT_TRUE(connection->ShouldClose());

    LoggedIn();
    now += 9000;
    Send(MessageType::Poll);  // any frame restarts the time-out
    now += 9000;
    connection->OnTick(now);
    EXPECT_FALSE(connection->ShouldClose());
    now += 1000;
    connection->OnTick(now);
    EXPECT_TRUE(connection->ShouldClose());
}

TEST_F(RecorderConnectionTest, LogIsServedInBlocksByIndexAndMissingOrEmptyLogsAreTold)
{
    LoggedIn();
    Send(MessageType::LogBlockRequest, LogBlockRequestMessage{0, 0}.Encode());
    EXPECT_EQ(ErrorOf(OneReply()), ErrorCode::NoTransfer) << "no log open";

    Send(MessageType::LogOpen, DateMessage{2007, 3, 1}.Encode());
    auto r = OneReply();
    EXPECT_FALSE(LogInfoMessage::Decode(r.payload.data(), r.payload.size())->found);

    Send(MessageType::LogOpen, DateMessage{2007, 3, 2}.Encode());
    r = OneReply();
    EXPECT_TRUE(LogInfoMessage::Decode(r.payload.data(), r.payload.size())->found);
    Send(MessageType::LogBlockRequest, LogBlockRequestMessage{0, 0}.Encode());
    r = OneReply();
    const auto empty = DataBlockMessage::Decode(r.payload.data(), r.payload.size(), kLogBlockSize);
    EXPECT_TRUE(empty->last);
    EXPECT_EQ(empty->length, 0u);

    Send(MessageType::LogOpen, DateMessage{2007, 3, 9}.Encode());
    const auto info = OneReply();
    const auto decoded = LogInfoMessage::Decode(info.payload.data(), info.payload.size());
    ASSERT_TRUE(decoded && decoded->found);
    EXPECT_EQ(decoded->size, 2 * kLogBlockSize + 16);

    std::vector<uint8_t> whole;
    bool last = false;
    for (uint32_t i = 0; !last; ++i) {
        ASSERT_LT(i, 5u);
        Send(MessageType::LogBlockRequest, LogBlockRequestMessage{i, static_cast<uint8_t>(40 + i)}.Encode());
        const auto reply = OneReply();
        ASSERT_EQ(reply.type, MessageType::LogBlock);
        const auto block = DataBlockMessage::Decode(reply.payload.data(), reply.payload.size(), kLogBlockSize);
        EXPECT_EQ(block->tag, 40 + i) << "tag echoed";
        whole.insert(whole.end(), block->data, block->data + block->length);
        last = block->last;
    }
    EXPECT_EQ(whole, *backend.DayLog(2007, 3, 9));

    Send(MessageType::LogBlockRequest, LogBlockRequestMessage{3, 0}.Encode());
    EXPECT_EQ(ErrorOf(OneReply()), ErrorCode::NoTransfer);
    EXPECT_FALSE(connection->ShouldClose());
}

TEST_F(RecorderConnectionTest, ProfilesComeAsMonthMaskAndDailyBlocks)
{
    LoggedIn();
    Send(MessageType::MonthProfileRequest, MonthProfileRequestMessage{2026, 2}.Encode());
    auto r = OneReply();
    EXPECT_EQ(MonthProfileMessage::Decode(r.payload.data(), r.payload.size())->dayMask, 0x0FFFFFFFu);

    Send(MessageType::DailyProfileRequest, DailyProfileRequestMessage{2026, 2, 5, 0, 0}.Encode());
    Send(MessageType::DailyProfileRequest, DailyProfileRequestMessage{2026, 2, 5, 1, 1}.Encode());
    auto replies = Replies();
    ASSERT_EQ(replies.size(), 2u);
    const auto first = DataBlockMessage::Decode(replies[0].payload.data(), replies[0].payload.size(), kProfileBlockSize);
    const auto second = DataBlockMessage::Decode(replies[1].payload.data(), replies[1].payload.size(), kProfileBlockSize);
    EXPECT_FALSE(first->last);
    EXPECT_EQ(first->length, kProfileBlockSize);
    EXPECT_TRUE(second->last);
    EXPECT_EQ(second->length, 392 - kProfileBlockSize);
    EXPECT_EQ(backend.profileCalls, 1) << "the day's profile is made once per transfer";

    Send(MessageType::DailyProfileRequest, DailyProfileRequestMessage{2026, 2, 6, 0, 0}.Encode());
    r = OneReply();
    const auto none = DataBlockMessage::Decode(r.payload.data(), r.payload.size(), kProfileBlockSize);
    EXPECT_TRUE(none->last);
    EXPECT_EQ(none->length, 0u);
}

namespace {

std::vector<uint8_t> Chunk(uint8_t seq, bool last, size_t n, uint8_t fill = 0xC3)
{
    const std::vector<uint8_t> data(n, fill);
    return UploadChunkMessage{seq, last, data.data(), static_cast<uint32_t>(n)}.Encode();
}

}  // namespace

TEST_F(RecorderConnectionTest, UploadOfWholeChunksEndsWithAnEmptyLastChunkAndTheSequenceWraps)
{
    LoggedIn();
    Send(MessageType::UploadStart, UploadStartMessage{1024, "fw.bin "}.Encode());
    auto r = OneReply();
    EXPECT_TRUE(UploadReplyMessage::Decode(r.payload.data(), 4)->ok);
    Send(MessageType::UploadChunk, Chunk(0, false, 512));
    Send(MessageType::UploadChunk, Chunk(1, false, 512));
    Send(MessageType::UploadChunk, Chunk(2, true, 0));
    const auto replies = Replies();
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(UploadAckMessage::Decode(replies[0].payload.data(), 4)->status, UploadStatus::SendNext);
    EXPECT_EQ(UploadAckMessage::Decode(replies[1].payload.data(), 4)->status, UploadStatus::SendNext);
    EXPECT_EQ(UploadAckMessage::Decode(replies[2].payload.data(), 4)->status, UploadStatus::Complete);
    ASSERT_EQ(backend.files.count("fw.bin"), 1u) << "stored under the name without the trailing blank";
    EXPECT_EQ(backend.files["fw.bin"].size(), 1024u);

    // The chunk sequence wraps after 255.
    const uint32_t chunks = 300;
    Send(MessageType::UploadStart, UploadStartMessage{chunks * 512 + 7, "big.bin"}.Encode());
    Replies();
    for (uint32_t i = 0; i < chunks; ++i)
        Send(MessageType::UploadChunk, Chunk(static_cast<uint8_t>(i), false, 512));
    Send(MessageType::UploadChunk, Chunk(static_cast<uint8_t>(chunks), true, 7));
    const auto big = Replies();
    ASSERT_EQ(big.size(), chunks + 1);
    EXPECT_EQ(UploadAckMessage::Decode(big.back().payload.data(), 4)->status, UploadStatus::Complete);
    EXPECT_EQ(backend.files["big.bin"].size(), chunks * 512 + 7);
}

TEST_F(RecorderConnectionTest, BrokenUploadsFailAndStoreNothingAndBadStartsAreRefused)
{
    struct Case {
        const char* name;
        uint32_t size;
        std::vector<std::vector<uint8_t>> chunks;
        UploadReason reason;
    };
    const Case cases[] = {
        {"out of order", 1000, {Chunk(0, false, 512), Chunk(2, true, 488)}, UploadReason::OutOfOrder},
        {"short middle chunk", 1000, {Chunk(0, false, 500)}, UploadReason::BadChunkLength},
        {"full last chunk", 512, {Chunk(0, true, 512)}, UploadReason::BadChunkLength},
        {"more than announced", 600, {Chunk(0, false, 512), Chunk(1, false, 512)}, UploadReason::SizeMismatch},
        {"less than announced", 600, {Chunk(0, false, 512), Chunk(1, true, 10)}, UploadReason::SizeMismatch},
    };
    for (const Case& c : cases) {
        backend.files.clear();
        LoggedIn();
        Send(MessageType::UploadStart, UploadStartMessage{c.size, "x.bin"}.Encode());
        Replies();
        for (const auto& chunk : c.chunks)
            Send(MessageType::UploadChunk, chunk);
        const auto replies = Replies();
        ASSERT_FALSE(replies.empty()) << c.name;
        const auto ack = UploadAckMessage::Decode(replies.back().payload.data(), 4);
        EXPECT_EQ(ack->status, UploadStatus::Failed) << c.name;
        EXPECT_EQ(ack->reason, c.reason) << c.name;
        EXPECT_TRUE(backend.files.empty()) << c.name;
        // The upload is over: a further chunk finds none.
        Send(MessageType::UploadChunk, Chunk(0, true, 1));
        EXPECT_EQ(UploadAckMessage::Decode(OneReply().payload.data(), 4)->reason, UploadReason::NoUpload) << c.name;
    }
    Send(MessageType::UploadStart, UploadStartMessage{10, "../../etc/passwd"}.Encode());
    Send(MessageType::UploadStart, UploadStartMessage{kMaxUploadSize + 1, "a.bin"}.Encode());
    const auto replies = Replies();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(UploadReplyMessage::Decode(replies[0].payload.data(), 4)->reason, UploadReason::BadName);
    EXPECT_EQ(UploadReplyMessage::Decode(replies[1].payload.data(), 4)->reason, UploadReason::TooLarge);
}

TEST_F(RecorderConnectionTest, LiveRequestIsServedAsTheRecorderCanAndSerialBytesPassThrough)
{
    LoggedIn();
    Send(MessageType::LiveControl, LiveControlMessage{0xFFFF, 0x0003, 5000}.Encode());
    const auto r = OneReply();
    const auto reply = LiveReplyMessage::Decode(r.payload.data(), r.payload.size());
    EXPECT_EQ(reply->videoMask, 0x000F);
    EXPECT_EQ(reply->audioMask, 0x0001);
    EXPECT_EQ(connection->LiveUdpPort(), 5000);
    EXPECT_EQ(connection->LiveGeneration(), 1u);

    Send(MessageType::SerialData, {0xFF, 0x01, 0x00, 0x04, 0x20, 0x00, 0x25, 'a', 'a', 0});
    EXPECT_TRUE(Replies().empty());
    EXPECT_EQ(backend.serial.size(), 10u);

    const uint8_t payload[] = {0, 0, 1, 0xE0};
    connection->AppendLiveMedia(kPacketVideo, 1, 0, payload, sizeof payload);
    connection->PushMasks({0x000F, 0x0001, 0x0002});
    const auto pushed = Replies();
    ASSERT_EQ(pushed.size(), 2u);
    const auto fragment = DecodeLiveMedia(pushed[0].payload.data(), pushed[0].payload.size());
    ASSERT_TRUE(fragment);
    EXPECT_EQ(fragment->PayloadLength(), 4u);
    EXPECT_EQ(pushed[1].type, MessageType::Masks);
}

TEST_F(RecorderConnectionTest, RefusedOperationsAreUnsupportedAndTheSessionGoesOn)
{
    RecorderConnectionOptions options;
    options.refused = {MessageType::UploadStart};
    LoggedIn(options);
    Send(MessageType::UploadStart, UploadStartMessage{1, "a"}.Encode());
    EXPECT_EQ(ErrorOf(OneReply()), ErrorCode::Unsupported);
    Send(MessageType::Poll);
    EXPECT_EQ(OneReply().type, MessageType::PollReply);
}

TEST_F(RecorderConnectionTest, ByeAndShutdownEndTheSession)
{
    LoggedIn();
    connection->Shutdown();
    EXPECT_EQ(ErrorOf(OneReply()), ErrorCode::ShuttingDown);
    EXPECT_TRUE(connection->ShouldClose());

    LoggedIn();
    Send(MessageType::Bye);
    EXPECT_TRUE(connection->ShouldClose());
    EXPECT_TRUE(Replies().empty());
}
