#include "platform/video/LiveSessionState.h"

#include "H264TestStream.h"
#include "support/MessageLog.h"
#include "platform/decoder/LiveDecoder.h"
#include "platform/video/LiveChannels.h"
#include "platform/video/LiveMediaCallback.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace std::chrono_literals;

void Send(LiveSessionState& session, unsigned char type, std::vector<unsigned char> packet)
{
    LiveMediaCallback(&session, 0, type, packet.data(), static_cast<unsigned>(packet.size()));
}

std::vector<unsigned char> AudioPacket(unsigned char camera)
{
    return {1, 0, 0x00, 0x00, 0x01, static_cast<unsigned char>(0xC0 + camera), 0x00, 0x03, 0x80, 0x00, 0x00};
}

class LiveSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(decoder.Initialise(0, 1, 720, 576, false));
        session.Attach(&decoder, window.Handle());
    }

    LiveStartPlan Start(std::uint16_t buttons, int dvrType = 3)
    {
        LiveChannelRequest request;
        request.checkedButtons = buttons;
        request.dvrType = dvrType;
        return StartLiveChannels(decoder, session, nullptr, occupied, request);
    }

    CLiveDecoder decoder;
    MessageLog window;
    LiveSessionState session;
    std::uint16_t occupied = 0;
};

TEST_F(LiveSessionTest, EveryPacketIsCountedAndTheCounterIsTakenOnce)
{
    Send(session, 2, {1, 0, 0, 0, 1, 0xE0});
    Send(session, 3, AudioPacket(0));  // audio off: counted only
    Send(session, 9, {7, 7, 7});
    EXPECT_EQ(session.TakeReceivedBytes(), 6u + 11u + 3u);
    EXPECT_EQ(session.TakeReceivedBytes(), 0u);
    LiveMediaCallback(nullptr, 0, 2, nullptr, 5);  // no session: ignored
}

TEST_F(LiveSessionTest, AudioIsRebuiltOnlyWhileTheSessionsAudioIsOn)
{
    Start(0x0001);
    decoder.SetAudioOn(true);
    decoder.SelectAudio(0);
    Send(session, 3, AudioPacket(0));
    EXPECT_EQ(session.ReassemblyCounters().units, 0u);
    session.SetAudioEnabled(true);
    Send(session, 3, AudioPacket(0));
    EXPECT_EQ(session.ReassemblyCounters().units, 1u);
    EXPECT_TRUE(session.AudioPermitted());
}

TEST_F(LiveSessionTest, ASessionKeepsOneSlotAcrossLiveStartsAndStops)
{
    Start(0x0003);
    const int slot = session.Slot();
    ASSERT_GE(slot, 0);
    EXPECT_EQ(session.ownedPanes, 0x0003);
    EXPECT_EQ(occupied, 0x0003);

    Start(0x000C);  // a restart reuses the slot and its panes
    EXPECT_EQ(session.Slot(), slot);
    EXPECT_EQ(session.ownedPanes, 0x0003);
    EXPECT_EQ(session.requestedVideo, 0x000C);
    // The old cameras' mappings are gone: camera 0 now passes unchanged, camera 2 lands on pane 0.
    for (unsigned char camera = 0; camera < 4; ++camera) {
        std::vector<unsigned char> unit{0, 0, 1, static_cast<unsigned char>(0xE0 + camera), 0, 0};
        EXPECT_EQ(decoder.PushVideo(slot, unit.data(), 6), camera % 2) << int(camera);
    }

    StopLiveChannels(session, nullptr, occupied);
    EXPECT_EQ(occupied, 0);
    EXPECT_EQ(session.ownedPanes, 0);
    EXPECT_FALSE(session.callbackRegistered);
    EXPECT_EQ(session.Slot(), slot);
    EXPECT_EQ(decoder.AllocateSlot(), slot + 1);  // still held by the session

    session.ReleaseSlot();
    EXPECT_EQ(session.Slot(), -1);
    EXPECT_FALSE(decoder.IsSlotInUse(slot));
}

TEST_F(LiveSessionTest, TwoSessionsShareThePanesAndAThirdWithoutASlotMapsNothing)
{
    LiveSessionState other;
    other.Attach(&decoder, window.Handle());
    Start(0x00FF);
    LiveChannelRequest request;
    request.checkedButtons = 0xFFFF;
    request.dvrType = 2;
    LiveStartPlan plan = StartLiveChannels(decoder, other, nullptr, occupied, request);
    EXPECT_EQ(occupied, 0xFFFF);
    EXPECT_EQ(other.ownedPanes, 0xFF00);
    EXPECT_EQ(plan.mappings.size(), 8u);  // cameras 8..15 find no pane
    EXPECT_NE(other.Slot(), session.Slot());

    // With no free slot a third session maps nothing.
    while (decoder.AllocateSlot() >= 0) {
    }
    LiveSessionState third;
    third.Attach(&decoder, window.Handle());
    std::uint16_t none = 0;
    plan = StartLiveChannels(decoder, third, nullptr, none, request);
    EXPECT_EQ(third.Slot(), -1);
    EXPECT_TRUE(plan.mappings.empty());
    EXPECT_EQ(third.requestedVideo, 0);
    EXPECT_EQ(none, 0);
    EXPECT_FALSE(third.AudioPermitted());
}

TEST_F(LiveSessionTest, RealPicturesReachTheirPaneAndTheirSizeIsReported)
{
    const auto units = VideoUnits(2, EncodeH264(176, 144, 30));
    Start(0x0005);  // camera 0 -> pane 0, camera 2 -> pane 1
    const auto before = session.GetPictureSize(1);
    EXPECT_EQ(before.width, 720);
    EXPECT_EQ(before.height, 576);
    EXPECT_FALSE(before.known);

    auto sizePosted = [](const MessageLog::Message& m) { return m.id == kMsgPictureSizeKnown && m.wParam == 1; };
    for (int round = 0; round < 20 && !window.WaitFor(sizePosted, 0ms); ++round) {
        for (const auto& unit : units) {
            for (auto& packet : LivePackets(unit, 1000))
                Send(session, 2, packet);
            std::this_thread::sleep_for(10ms);  // a recorder's pace, so the decoder keeps up
        }
        window.WaitFor(sizePosted, 200ms);
    }
    ASSERT_TRUE(window.WaitFor(sizePosted, 0ms));
    const auto after = session.GetPictureSize(1);
    EXPECT_EQ(after.width, 176);
    EXPECT_EQ(after.height, 144);
    EXPECT_TRUE(after.known);
    EXPECT_EQ(decoder.GetVideoWidth(1), 176);
    EXPECT_EQ(decoder.GetVideoWidth(2), 0);  // the camera's own number was rewritten away
    // Reported once, not for every unit.
    int posts = 0;
    for (const auto& m : window.Messages())
        posts += m.id == kMsgPictureSizeKnown ? 1 : 0;
    EXPECT_EQ(posts, 1);
}

TEST_F(LiveSessionTest, CallbackRacingLiveStartsNeverSeesAHalfReset)
{
    Start(0x0001);
    std::atomic<bool> done{false};
    std::uint64_t sent = 0;
    // Units of three fragments, each well formed: a reset may only drop whole units.
    std::thread network([&] {
        std::vector<unsigned char> f0{3, 0, 0, 0, 1, 0xE0, 0, 4};
        std::vector<unsigned char> f1{3, 1, 0x80, 0};
        std::vector<unsigned char> f2{3, 2, 0, 0};
        for (int i = 0; i < 5000; ++i) {
            for (auto* p : {&f0, &f1, &f2}) {
                LiveMediaCallback(&session, 0, 2, p->data(), static_cast<unsigned>(p->size()));
                sent += p->size();
            }
        }
        done = true;
    });
    std::uint64_t taken = 0;
    int starts = 0;
    while (!done || starts < 10) {
        Start(++starts % 2 ? 0x0003 : 0x0001);
        taken += session.TakeReceivedBytes();
    }
    network.join();
    taken += session.TakeReceivedBytes();
    EXPECT_EQ(taken, sent);
    const auto counters = session.ReassemblyCounters();
    EXPECT_EQ(counters.overflowed, 0u);
    EXPECT_EQ(counters.malformed, 0u);
    // Every unit either arrived whole or lost its tail to a reset.
    EXPECT_GT(counters.units, 0u);
    EXPECT_LE(counters.units + counters.outOfSequence, 5000u * 3);
    EXPECT_EQ(session.Slot(), 0);
}

} // namespace
