#include "core/net/DiscoveryMessages.h"
#include "core/net/LiveMessages.h"
#include "core/net/LoginProof.h"
#include "core/net/SessionMessages.h"
#include "core/net/TransferMessages.h"
#include "core/net/UploadName.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace wire;

TEST(SessionMessages, RoundTripKeepsEveryField)
{
    LoginRequestMessage login;
    ASSERT_TRUE(LoginRequestMessage::PackAccount("GUEST1", login.account));
    login.clientNonce.fill(0x11);
    login.proof.fill(0x22);
    const auto login2 = LoginRequestMessage::Decode(login.Encode().data(), 80);
    ASSERT_TRUE(login2);
    EXPECT_EQ(login2->AccountName(), "GUEST1");
    EXPECT_EQ(login2->clientNonce, login.clientNonce);
    EXPECT_EQ(login2->proof, login.proof);
    std::array<uint8_t, kAccountFieldSize> field{};
    EXPECT_TRUE(LoginRequestMessage::PackAccount(std::string(15, 'A'), field));
    EXPECT_FALSE(LoginRequestMessage::PackAccount(std::string(16, 'A'), field)) << "no room for the terminator";

    const auto reply = LoginReplyMessage::Decode(LoginReplyMessage{101, 0xCAFEF00D}.Encode().data(), 8);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->code, 101);
    EXPECT_EQ(reply->sessionToken, 0xCAFEF00Du);

    const MasksMessage masks{0x000F, 0x0001, 0x0008};
    const auto bytes = masks.Encode();
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x0F, 0, 1, 0, 8, 0}));
    EXPECT_EQ(MasksMessage::Decode(bytes.data(), bytes.size()), masks);

    const auto result = WriteResultMessage::Decode(
        WriteResultMessage{5, false, WriteReason::OutOfRange}.Encode().data(), 4);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->section, 5);
    EXPECT_FALSE(result->ok);
    EXPECT_EQ(result->reason, WriteReason::OutOfRange);
}

TEST(SessionMessages, DecodersRefuseInconsistentPayloads)
{
    // A failed log-in with a token, a success without one, a code outside 101..104.
    EXPECT_FALSE(LoginReplyMessage::Decode(LoginReplyMessage{103, 7}.Encode().data(), 8));
    EXPECT_FALSE(LoginReplyMessage::Decode(LoginReplyMessage{102, 0}.Encode().data(), 8));
    EXPECT_FALSE(LoginReplyMessage::Decode(LoginReplyMessage{105, 0}.Encode().data(), 8));
    const std::vector<uint8_t> badOk{1, 2, 0, 0};
    EXPECT_FALSE(WriteResultMessage::Decode(badOk.data(), badOk.size()));
    const std::vector<uint8_t> shortMasks{1, 2, 3, 4, 5};
    EXPECT_FALSE(MasksMessage::Decode(shortMasks.data(), shortMasks.size()));
    const std::vector<uint8_t> unknownError{99, 0, 0, 0};
    EXPECT_FALSE(ErrorMessage::Decode(unknownError.data(), unknownError.size()));
}

TEST(SessionMessages, ErrorTextIsCutAndMadePrintable)
{
    ErrorMessage e{ErrorCode::Unsupported, 0x0006, std::string(300, 'x')};
    auto bytes = e.Encode();
    EXPECT_EQ(bytes.size(), 4 + kMaxErrorText);
    bytes[5] = '\n';
    const auto decoded = ErrorMessage::Decode(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->code, ErrorCode::Unsupported);
    EXPECT_EQ(decoded->aboutType, 0x0006);
    EXPECT_EQ(decoded->text.substr(0, 3), "x?x");
    EXPECT_TRUE(ErrorClosesConnection(ErrorCode::TooManySessions));
    EXPECT_FALSE(ErrorClosesConnection(ErrorCode::Unsupported));
    EXPECT_FALSE(ErrorClosesConnection(ErrorCode::NoTransfer));
}

TEST(TransferMessages, RoundTripKeepsEveryField)
{
    const auto info = LogInfoMessage::Decode(LogInfoMessage{2007, 3, 9, 4112, true}.Encode().data(), 12);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->year, 2007);
    EXPECT_EQ(info->size, 4112u);
    EXPECT_TRUE(info->found);

    const std::vector<uint8_t> data{9, 8, 7};
    DataBlockMessage block{3, 0xFE, true, data.data(), 3};
    const auto blockBytes = block.Encode();
    const auto back = DataBlockMessage::Decode(blockBytes.data(), blockBytes.size(), kLogBlockSize);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->index, 3u);
    EXPECT_EQ(back->tag, 0xFE);
    EXPECT_TRUE(back->last);
    EXPECT_EQ(std::vector<uint8_t>(back->data, back->data + back->length), data);

    const auto daily = DailyProfileRequestMessage::Decode(
        DailyProfileRequestMessage{2026, 12, 31, 1, 200}.Encode().data(), 12);
    ASSERT_TRUE(daily);
    EXPECT_EQ(daily->day, 31);
    EXPECT_EQ(daily->index, 1u);
    EXPECT_EQ(daily->tag, 200);

    const auto month = MonthProfileMessage::Decode(MonthProfileMessage{2026, 2, 0x40000001}.Encode().data(), 8);
    ASSERT_TRUE(month);
    EXPECT_EQ(month->dayMask, 0x40000001u);

    const auto start = UploadStartMessage{1024, "fw.bin "}.Encode();
    const auto startBack = UploadStartMessage::Decode(start.data(), start.size());
    ASSERT_TRUE(startBack);
    EXPECT_EQ(startBack->name, "fw.bin ");
    EXPECT_EQ(startBack->size, 1024u);

    const auto ack = UploadAckMessage::Decode(
        UploadAckMessage{255, UploadStatus::Failed, UploadReason::OutOfOrder}.Encode().data(), 4);
    ASSERT_TRUE(ack);
    EXPECT_EQ(ack->sequence, 255);
    EXPECT_EQ(ack->reason, UploadReason::OutOfOrder);
}

TEST(TransferMessages, DecodersRefuseOversizeAndInconsistentPayloads)
{
    std::vector<uint8_t> big(8 + kProfileBlockSize + 1, 0);
    EXPECT_FALSE(DataBlockMessage::Decode(big.data(), big.size(), kProfileBlockSize));
    EXPECT_TRUE(DataBlockMessage::Decode(big.data(), big.size(), kLogBlockSize));
    std::vector<uint8_t> chunk(4 + kUploadChunkSize + 1, 0);
    EXPECT_FALSE(UploadChunkMessage::Decode(chunk.data(), chunk.size()));
    chunk.pop_back();
    EXPECT_TRUE(UploadChunkMessage::Decode(chunk.data(), chunk.size()));
    // A name length that points past the payload, and an empty name.
    const std::vector<uint8_t> overrun{1, 0, 0, 0, 9, 'a', 'b'};
    EXPECT_FALSE(UploadStartMessage::Decode(overrun.data(), overrun.size()));
    const std::vector<uint8_t> empty{1, 0, 0, 0, 0};
    EXPECT_FALSE(UploadStartMessage::Decode(empty.data(), empty.size()));
    // "not found" with a size.
    EXPECT_FALSE(LogInfoMessage::Decode(LogInfoMessage{2007, 3, 9, 16, false}.Encode().data(), 12));
}

TEST(UploadName, TrailingBlanksGoAndPathsAreRefused)
{
    EXPECT_EQ(CleanUploadName("firmware.bin "), "firmware.bin");
    EXPECT_EQ(CleanUploadName("logo 2.png"), "logo 2.png");
    for (const char* bad : {"", " ", ".", "..", ".. ", "../x", ".hidden", "a/b", "c:\\x", "a\tb"})
        EXPECT_FALSE(CleanUploadName(bad)) << bad;
    EXPECT_FALSE(CleanUploadName(std::string("a\0b", 3)));
}

TEST(LiveMessages, FragmentViewPointsAtCountIndexAndPayload)
{
    const std::vector<uint8_t> media{kPacketAudio, 3, 2, 0xAA, 0xBB};
    const auto v = DecodeLiveMedia(media.data(), media.size());
    ASSERT_TRUE(v);
    EXPECT_EQ(v->packetType, kPacketAudio);
    EXPECT_EQ(v->packet, media.data() + 1);
    EXPECT_EQ(v->packetLength, 4u);
    EXPECT_EQ(v->PayloadLength(), 2u);

    std::vector<uint8_t> datagram(kMinSealedDatagramPayload, 0xEE);
    WriteSealedDatagramPrefix(datagram.data(), 0x01020304, 0x1122334455667788ull);
    const auto d = DecodeSealedDatagram(datagram.data(), datagram.size());
    ASSERT_TRUE(d);
    EXPECT_EQ(d->token, 0x01020304u);
    EXPECT_EQ(d->counter, 0x1122334455667788ull);
    EXPECT_EQ(d->sealed, datagram.data() + kSealedDatagramPrefix);
    EXPECT_EQ(d->sealedLength, kMinSealedDatagramPayload - kSealedDatagramPrefix);
    EXPECT_FALSE(DecodeSealedDatagram(datagram.data(), datagram.size() - 1)) << "no room for a byte and the tag";

    for (const auto& bad : std::vector<std::vector<uint8_t>>{
             {4, 1, 0, 1},           // packet type
             {kPacketVideo, 0, 0, 1},  // count 0
             {kPacketVideo, 2, 2, 1},  // index past count
             {kPacketVideo, 1, 0},     // no payload
         })
        EXPECT_FALSE(DecodeLiveMedia(bad.data(), bad.size()));
}

TEST(LiveMessages, FragmentPlanCoversTheUnitInAtMost255Pieces)
{
    for (const size_t length : {size_t{1}, size_t{1400}, size_t{1401}, size_t{255 * 1400}, size_t{255 * 1400 + 1},
                                size_t{999999}, kMaxLiveUnit}) {
        const FragmentPlan plan = PlanFragments(length);
        ASSERT_GE(plan.count, 1u) << length;
        EXPECT_LE(plan.count, 255u) << length;
        EXPECT_LE(kLiveMediaPrefix + plan.fragmentSize, kMaxPayload) << length;
        size_t total = 0;
        for (uint32_t i = 0; i < plan.count; ++i) {
            const uint32_t piece = plan.FragmentLength(i, static_cast<uint32_t>(length));
            EXPECT_GT(piece, 0u) << length << " fragment " << i;
            total += piece;
        }
        EXPECT_EQ(total, length);
    }
    EXPECT_EQ(PlanFragments(1400).count, 1u);
    EXPECT_EQ(PlanFragments(1401).count, 2u);
    EXPECT_EQ(PlanFragments(1401).FragmentLength(1, 1401), 1u);
    EXPECT_EQ(PlanFragments(0).count, 0u);
    EXPECT_EQ(PlanFragments(kMaxLiveUnit + 1).count, 0u);
}

TEST(LoginProof, InputIsLabelAccountAndBothNonces)
{
    std::array<uint8_t, kAccountFieldSize> account{};
    LoginRequestMessage::PackAccount("ADMIN", account);
    Nonce server{};
    server.fill(1);
    Nonce client{};
    client.fill(2);
    const auto input = LoginProofInput(account, server, client);
    ASSERT_EQ(input.size(), 14u + 16 + 32 + 32);
    EXPECT_EQ(std::string(input.begin(), input.begin() + 14), "OMBREL-LOGIN-1");
    EXPECT_EQ(std::string(input.begin() + 14, input.begin() + 19), "ADMIN");
    EXPECT_EQ(input[19], 0);
    EXPECT_EQ(input[30], 1);
    EXPECT_EQ(input.back(), 2);
}

TEST(DiscoveryMessages, AnswerCarriesProbeIdAndWholeRecord)
{
    DiscoveryAnswerMessage answer;
    answer.probeId = 77;
    answer.record[33] = 3;
    answer.record.back() = 0x5A;
    const auto bytes = answer.Encode();
    ASSERT_EQ(bytes.size(), 4 + kSettingsBlockSize);
    const auto back = DiscoveryAnswerMessage::Decode(bytes.data(), bytes.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->probeId, 77u);
    EXPECT_EQ(back->record, answer.record);
    EXPECT_FALSE(DiscoveryAnswerMessage::Decode(bytes.data(), bytes.size() - 1));
}
