#include "core/net/FrameDecoder.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace wire;

namespace {

std::vector<uint8_t> MakeFrame(MessageType type, uint32_t seq, std::vector<uint8_t> payload,
                               uint16_t version = kProtocolVersion)
{
    std::vector<uint8_t> out;
    AppendFrame(out, type, seq, payload, version);
    return out;
}

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

TEST(FrameDecoder, HeaderIsLittleEndianWithMagicFirst)
{
    const auto frame = MakeFrame(MessageType::Masks, 0x01020304, {1, 2, 3, 4, 5, 6});
    const std::vector<uint8_t> header(frame.begin(), frame.begin() + 16);
    EXPECT_EQ(header, (std::vector<uint8_t>{'O', 'M', 'B', 'R', 2, 0, 0x08, 0x01, 4, 3, 2, 1, 6, 0, 0, 0}));
    EXPECT_EQ(frame.size(), 22u);
}

TEST(FrameDecoder, YieldsFramesFedOneByteAtATimeAndJoined)
{
    std::vector<uint8_t> stream;
    AppendFrame(stream, MessageType::Poll, 0, nullptr, 0);
    AppendFrame(stream, MessageType::GetSettings, 1, nullptr, 0);
    AppendFrame(stream, MessageType::LogOpen, 2, std::vector<uint8_t>{0xD7, 0x07, 3, 9});

    for (const size_t chunk : {size_t{1}, size_t{3}, size_t{17}, stream.size()}) {
        FrameDecoder decoder(Direction::ToRecorder);
        std::vector<MessageType> types;
        std::vector<uint8_t> lastPayload;
        for (size_t at = 0; at < stream.size(); at += chunk) {
            decoder.Feed(stream.data() + at, std::min(chunk, stream.size() - at));
            FrameView f;
            FrameDecoder::Status s;
            while ((s = decoder.Next(f)) == FrameDecoder::Status::Frame) {
                types.push_back(f.type);
                lastPayload.assign(f.payload, f.payload + f.length);
            }
            ASSERT_EQ(s, FrameDecoder::Status::NeedMore) << "chunk " << chunk;
        }
        EXPECT_EQ(types, (std::vector<MessageType>{MessageType::Poll, MessageType::GetSettings, MessageType::LogOpen}))
            << "chunk " << chunk;
        EXPECT_EQ(lastPayload, (std::vector<uint8_t>{0xD7, 0x07, 3, 9}));
        EXPECT_EQ(decoder.Pending(), 0u);
    }
}

TEST(FrameDecoder, TruncatedFrameWaitsAndNeverYieldsAPartialFrame)
{
    const auto frame = MakeFrame(MessageType::LogOpen, 0, {1, 2, 3, 4});
    FrameDecoder decoder(Direction::ToRecorder);
    decoder.Feed(frame.data(), frame.size() - 1);
    FrameView f;
    EXPECT_EQ(decoder.Next(f), FrameDecoder::Status::NeedMore);
    EXPECT_EQ(decoder.Pending(), frame.size() - 1);
    decoder.Feed(frame.data() + frame.size() - 1, 1);
    EXPECT_EQ(decoder.Next(f), FrameDecoder::Status::Frame);
}

struct BadHeaderCase {
    const char* name;
    std::vector<uint8_t> bytes;
    DecodeError expected;
};

TEST(FrameDecoder, RefusesBadHeadersAsSoonAsTheirBytesArrive)
{
    auto badMagic = MakeFrame(MessageType::Poll, 0, {});
    badMagic[0] = 'X';
    auto otherVersion = MakeFrame(MessageType::Poll, 0, {}, 1);
    auto unknownType = MakeFrame(MessageType::Poll, 0, {});
    unknownType[6] = 0x77;
    // A client->recorder decoder meets a recorder->client type.
    auto wrongDirection = MakeFrame(MessageType::Settings, 0, std::vector<uint8_t>(3820));
    auto oversize = MakeFrame(MessageType::SerialData, 0, {1});
    PutU32(oversize, 12, 0x7FFFFFFF);
    auto fixedWrong = MakeFrame(MessageType::LogOpen, 0, {1, 2, 3});
    auto outOfOrder = MakeFrame(MessageType::Poll, 5, {});

    const BadHeaderCase cases[] = {
        {"bad magic", badMagic, DecodeError::BadMagic},
        {"other version", otherVersion, DecodeError::VersionMismatch},
        {"unknown type", unknownType, DecodeError::UnknownType},
        {"wrong direction", wrongDirection, DecodeError::UnknownType},
        {"oversize length", oversize, DecodeError::BadLength},
        {"wrong fixed length", fixedWrong, DecodeError::BadLength},
        {"sequence gap", outOfOrder, DecodeError::BadSequence},
    };
    for (const auto& c : cases) {
        FrameDecoder decoder(Direction::ToRecorder);
        // Only the 16 header bytes: the decision must not wait for a payload.
        decoder.Feed(c.bytes.data(), kHeaderSize);
        FrameView f;
        EXPECT_EQ(decoder.Next(f), FrameDecoder::Status::Error) << c.name;
        EXPECT_EQ(decoder.error(), c.expected) << c.name;
        EXPECT_EQ(decoder.Pending(), 0u) << c.name << ": buffer released";
        // It stays failed whatever comes next.
        const auto good = MakeFrame(MessageType::Poll, 0, {});
        decoder.Feed(good.data(), good.size());
        EXPECT_EQ(decoder.Next(f), FrameDecoder::Status::Error) << c.name;
    }
}

TEST(FrameDecoder, BadMagicIsSeenFromTheFirstByteAndAVersionMismatchNamesThePeerVersion)
{
    FrameDecoder decoder(Direction::ToClient);
    const uint8_t junk = 'G';  // e.g. an HTTP request
    decoder.Feed(&junk, 1);
    FrameView f;
    EXPECT_EQ(decoder.Next(f), FrameDecoder::Status::Error);
    EXPECT_EQ(decoder.error(), DecodeError::BadMagic);

    const auto frame = MakeFrame(MessageType::Challenge, 0, std::vector<uint8_t>(32), 7);
    FrameDecoder other(Direction::ToClient);
    other.Feed(frame.data(), 6);  // magic and version only
    ASSERT_EQ(other.Next(f), FrameDecoder::Status::Error);
    EXPECT_EQ(other.peerVersion(), 7);
    EXPECT_NE(other.ErrorText().find("7"), std::string::npos);
}

TEST(FrameDecoder, SequenceRunsOnAcrossFramesAndCanBeSwitchedOff)
{
    std::vector<uint8_t> stream;
    AppendFrame(stream, MessageType::PollReply, 0, nullptr, 0);
    AppendFrame(stream, MessageType::PollReply, 1, nullptr, 0);
    AppendFrame(stream, MessageType::PollReply, 1, nullptr, 0);  // doubled
    FrameDecoder strict(Direction::ToClient);
    strict.Feed(stream.data(), stream.size());
    FrameView f;
    EXPECT_EQ(strict.Next(f), FrameDecoder::Status::Frame);
    EXPECT_EQ(strict.Next(f), FrameDecoder::Status::Frame);
    EXPECT_EQ(strict.Next(f), FrameDecoder::Status::Error);
    EXPECT_EQ(strict.error(), DecodeError::BadSequence);

    FrameDecoder lax(Direction::ToClient, false);
    lax.Feed(stream.data(), stream.size());
    int frames = 0;
    while (lax.Next(f) == FrameDecoder::Status::Frame)
        ++frames;
    EXPECT_EQ(frames, 3);
}

TEST(FrameDecoder, DatagramMustBeExactlyOneFrame)
{
    const auto probe = MakeFrame(MessageType::DiscoveryProbe, 9, {1, 0, 0, 0, 0, 0, 0, 0});
    FrameView f;
    ASSERT_EQ(DecodeDatagram(probe.data(), probe.size(), Direction::ToRecorder, f), DecodeError::None);
    EXPECT_EQ(f.type, MessageType::DiscoveryProbe);
    EXPECT_EQ(f.sequence, 9u);
    EXPECT_EQ(f.length, 8u);

    auto longer = probe;
    longer.push_back(0);
    EXPECT_EQ(DecodeDatagram(longer.data(), longer.size(), Direction::ToRecorder, f), DecodeError::BadLength);
    EXPECT_EQ(DecodeDatagram(probe.data(), probe.size() - 1, Direction::ToRecorder, f), DecodeError::BadLength);
    EXPECT_EQ(DecodeDatagram(probe.data(), 3, Direction::ToRecorder, f), DecodeError::BadLength);
    EXPECT_EQ(DecodeDatagram(probe.data(), probe.size(), Direction::ToClient, f), DecodeError::UnknownType);
    auto junk = probe;
    junk[1] = 0;
    EXPECT_EQ(DecodeDatagram(junk.data(), junk.size(), Direction::ToRecorder, f), DecodeError::BadMagic);
}

TEST(WireFormat, EveryTypeBelongsToOneDirectionWithinThePayloadBound)
{
    for (uint32_t t = 0; t <= 0xFFFF; ++t) {
        const bool toRecorder = IsKnownType(static_cast<uint16_t>(t), Direction::ToRecorder);
        const bool toClient = IsKnownType(static_cast<uint16_t>(t), Direction::ToClient);
        EXPECT_FALSE(toRecorder && toClient) << t;
        if (toRecorder || toClient) {
            const PayloadBounds b = BoundsOf(static_cast<MessageType>(t));
            EXPECT_LE(b.min, b.max) << t;
            EXPECT_LE(b.max, kMaxPayload) << t;
            EXPECT_NE(TypeName(static_cast<uint16_t>(t)), "unknown") << t;
        }
    }
}
