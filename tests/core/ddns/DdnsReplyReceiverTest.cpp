#include "core/ddns/DdnsProtocol.h"
#include "core/ddns/DdnsReplyReceiver.h"

#include <gtest/gtest.h>

using namespace ddns;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Resolved(const std::string& address, std::uint16_t port, bool portFirst = false)
{
    auto frame = BuildResolvedReply(address, port, portFirst);
    EXPECT_TRUE(frame);
    return frame.value_or(Bytes{});
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A resolved frame whose payload is exactly payloadSize bytes: the header,
// the two fields, then ignored filler.
Bytes ResolvedWithPayloadOf(std::size_t payloadSize)
{
    Bytes frame = Resolved("10.1.2.3", 7050);
    frame.pop_back();
    frame.resize(payloadSize + 1, 0x55);
    frame.push_back(kFrameEnd);
    return frame;
}

}  // namespace

TEST(DdnsReplyReceiver, YieldsTheSameReplyHoweverTheBytesAreSplit)
{
    const Bytes stream = Join({Resolved("10.1.2.3", 7050), Resolved("172.16.0.9", 80, true), BuildNotRegisteredReply()});
    for (std::size_t chunk = 1; chunk <= stream.size(); ++chunk) {
        DdnsReplyReceiver receiver;
        std::vector<Reply> replies;
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            const auto got = receiver.Feed(std::span(stream).subspan(at, std::min(chunk, stream.size() - at)));
            replies.insert(replies.end(), got.begin(), got.end());
        }
        ASSERT_EQ(replies.size(), 3u) << "chunk " << chunk;
        EXPECT_EQ(replies[0].kind, Reply::Kind::Resolved);
        EXPECT_EQ(replies[0].address, "10.1.2.3");
        EXPECT_EQ(replies[0].port, 7050);
        EXPECT_EQ(replies[1].address, "172.16.0.9");
        EXPECT_EQ(replies[1].port, 80);
        EXPECT_EQ(replies[2].kind, Reply::Kind::NotRegistered);
        EXPECT_FALSE(receiver.InFrame());
    }
}

TEST(DdnsReplyReceiver, IgnoresEverythingBeforeTheFirstFrameStart)
{
    DdnsReplyReceiver receiver;
    // Stray end markers before any 0xAF must not count as a (empty) reply.
    EXPECT_TRUE(receiver.Feed(Bytes{0x00, kFrameEnd, 0x01, 0x00, kFrameEnd, 'x'}).empty());
    const auto replies = receiver.Feed(Join({Bytes{0x13, kFrameEnd}, Resolved("1.2.3.4", 0x50)}));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].address, "1.2.3.4");
    EXPECT_EQ(replies[0].port, 0x50);
    // Bytes between frames are dropped too.
    EXPECT_TRUE(receiver.Feed(Bytes{'g', 'a', 'p', kFrameEnd}).empty());
}

TEST(DdnsReplyReceiver, FrameStartOrResetDropsAHalfReceivedFrame)
{
    DdnsReplyReceiver receiver;
    Bytes half = Resolved("9.9.9.9", 1);
    half.resize(half.size() / 2);
    const auto replies = receiver.Feed(Join({half, Resolved("8.8.4.4", 0x35)}));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].address, "8.8.4.4");

    // Reset forgets a half frame: its second half alone gives nothing.
    EXPECT_TRUE(receiver.Feed(half).empty());
    EXPECT_TRUE(receiver.InFrame());
    receiver.Reset();
    EXPECT_FALSE(receiver.InFrame());
    const Bytes whole = Resolved("9.9.9.9", 1);
    EXPECT_TRUE(receiver.Feed(std::span(whole).subspan(half.size())).empty());
}

TEST(DdnsReplyReceiver, PayloadOverTheBufferIsMalformedAndNothingLeaksIntoTheNextFrame)
{
    DdnsReplyReceiver receiver;
    auto exact = receiver.Feed(ResolvedWithPayloadOf(kReplyBufferSize));
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_EQ(exact[0].kind, Reply::Kind::Resolved) << "128 payload bytes still fit";

    for (std::size_t size : {kReplyBufferSize + 1, kReplyBufferSize * 2 + 5, std::size_t{1000}}) {
        const auto replies = receiver.Feed(Join({ResolvedWithPayloadOf(size), Resolved("4.3.2.1", 9)}));
        ASSERT_EQ(replies.size(), 2u) << size;
        EXPECT_EQ(replies[0].kind, Reply::Kind::Malformed) << size;
        EXPECT_EQ(replies[1].kind, Reply::Kind::Resolved);
        EXPECT_EQ(replies[1].address, "4.3.2.1");
    }
}
