#include "core/viewer/LiveControl.h"

#include <gtest/gtest.h>

namespace {

constexpr ToggleButton kOff{false, false};
constexpr ToggleButton kShown{true, true};
constexpr ToggleButton kEnabled{true, false};

TEST(MasksChanged, AllChannelModelShowsExactlyTheAvailableChannels)
{
    ChannelPanel panel;
    panel.video[9] = kShown;  // left from an earlier recorder
    SessionChannels session;
    ApplyMasksChanged(panel, session, 3, 0x000F, 0x0003, 0x0001);
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(panel.video[k], k < 4 ? kShown : kOff) << k;
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(panel.audio[k], k < 2 ? kEnabled : kOff) << k;
    EXPECT_TRUE(panel.sliderEnabled);
    EXPECT_TRUE(panel.pairedModelControlEnabled);
    EXPECT_EQ(session.sensors, 0x0001);
}

TEST(MasksChanged, PairedModelShowsOneCameraOfEachPair)
{
    ChannelPanel panel;
    panel.video[6] = kShown;
    SessionChannels session;
    ApplyMasksChanged(panel, session, 1, 0x000F, 0x000F, 0);
    EXPECT_EQ(panel.video[0], kShown);
    EXPECT_EQ(panel.video[1], kOff);
    EXPECT_EQ(panel.video[2], kShown);
    EXPECT_EQ(panel.video[3], kOff);
    for (int k = 4; k < 16; ++k)
        EXPECT_EQ(panel.video[k], kOff) << k;
    EXPECT_FALSE(panel.pairedModelControlEnabled);
    EXPECT_EQ(CheckedVideoMask(panel), 0x0005);

    // A missing first camera lets its partner show.
    ApplyMasksChanged(panel, session, 1, 0x000A, 0, 0);
    EXPECT_EQ(CheckedVideoMask(panel), 0x000A);
}

TEST(MasksChanged, TypeFiveHasAudioOnTheFirstChannelOnly)
{
    ChannelPanel panel;
    SessionChannels session;
    ApplyMasksChanged(panel, session, 5, 0x000F, 0x000F, 0);
    EXPECT_EQ(session.availableAudio, 0x0001);
    EXPECT_EQ(panel.audio[0], kEnabled);
    for (int k = 1; k < 16; ++k)
        EXPECT_EQ(panel.audio[k], kOff) << k;
}

TEST(MasksChanged, UnsettledModelsLeaveTheButtonsAlone)
{
    for (int type : {4, 0, 7, 255}) {
        ChannelPanel panel;
        panel.video[5] = kShown;
        panel.audio[7] = kEnabled;
        const ChannelPanel before = panel;
        SessionChannels session;
        ApplyMasksChanged(panel, session, type, 0xFFFF, 0xFFFF, 0);
        panel.sliderEnabled = before.sliderEnabled;
        EXPECT_EQ(panel, before) << type;
        EXPECT_EQ(session.availableVideo, 0xFFFF);
    }
}

TEST(Pairing, CheckingOneCameraOfAPairRetiresTheOther)
{
    ChannelPanel panel;
    SessionChannels session;
    ApplyMasksChanged(panel, session, 1, 0x000F, 0, 0);
    ASSERT_FALSE(DecideLiveStart(panel, session, 1, 0).refused);
    EXPECT_TRUE(session.pairedMode);

    panel.video[0].checked = false;
    PressVideoButton(panel, session, 0);
    EXPECT_EQ(panel.video[1], kEnabled);

    panel.video[1].checked = true;
    PressVideoButton(panel, session, 1);
    EXPECT_EQ(panel.video[0], kOff);
    EXPECT_EQ(CheckedVideoMask(panel), 0x0006);

    // Unchecking does not enable a partner the recorder does not have.
    session.availableVideo = 0x0007;
    panel.video[2].checked = false;
    PressVideoButton(panel, session, 2);
    EXPECT_FALSE(panel.video[3].enabled);
}

TEST(Pairing, OtherModelsToggleOnlyThePressedButton)
{
    ChannelPanel panel;
    SessionChannels session;
    ApplyMasksChanged(panel, session, 1, 0x000F, 0, 0);
    ASSERT_FALSE(DecideLiveStart(panel, session, 1, 0).refused);
    // The same session now reports as an all-channel model and starts again.
    ApplyMasksChanged(panel, session, 3, 0x000F, 0, 0);
    ASSERT_FALSE(DecideLiveStart(panel, session, 3, 0).refused);
    EXPECT_FALSE(session.pairedMode);
    panel.video[0].checked = false;
    PressVideoButton(panel, session, 0);
    EXPECT_EQ(panel.video[1], kShown);
}

TEST(LiveStart, MoreThanSixteenChannelsOverAllSessionsIsRefused)
{
    ChannelPanel first;
    SessionChannels a;
    ApplyMasksChanged(first, a, 3, 0x01FF, 0, 0);
    const LiveStartDecision one = DecideLiveStart(first, a, 3, 0);
    EXPECT_FALSE(one.refused);
    EXPECT_EQ(one.requested, 0x01FF);
    EXPECT_EQ(a.liveCount, 9);

    ChannelPanel second;
    SessionChannels b;
    ApplyMasksChanged(second, b, 3, 0x01FF, 0, 0);
    const LiveStartDecision two = DecideLiveStart(second, b, 3, a.liveCount);
    EXPECT_TRUE(two.refused);
    EXPECT_EQ(two.requested, 0);
    EXPECT_EQ(b.liveCount, 0);
    EXPECT_EQ(CheckedVideoMask(second), 0);
    // The first session's channels still show and still count.
    EXPECT_EQ(two.windowTotal, 9);

    // Starting the same session again does not count it twice.
    const LiveStartDecision again = DecideLiveStart(first, a, 3, 0);
    EXPECT_FALSE(again.refused);
    EXPECT_EQ(again.windowTotal, 9);
    EXPECT_EQ(DecideLiveStart(first, a, 3, 7).windowTotal, 16);
}

TEST(Audio, PressingAnotherAudioButtonLeavesOnlyItDown)
{
    ChannelPanel panel;
    SessionChannels session;
    ApplyMasksChanged(panel, session, 3, 0x000F, 0x000F, 0);
    panel.audio[1].checked = true;
    ASSERT_TRUE(PressAudioButton(panel, session, 1));

    panel.audio[3].checked = true;
    const auto change = PressAudioButton(panel, session, 3);
    ASSERT_TRUE(change);
    EXPECT_EQ(*change, (AudioChange{3, 100, true, true}));
    EXPECT_EQ(session.requestedAudio, 0x0008);
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(panel.audio[k].checked, k == 3) << k;
    EXPECT_EQ(session.volume, 100);
    EXPECT_EQ(panel.sliderPosition, 0);
    EXPECT_TRUE(session.audioOn);
}

TEST(Audio, MuteBlocksAnAudioButton)
{
    ChannelPanel panel;
    SessionChannels session;
    ApplyMasksChanged(panel, session, 3, 0x000F, 0x000F, 0);
    panel.muteChecked = true;
    panel.audio[2].checked = true;
    const ChannelPanel expected = [&] {
        ChannelPanel p = panel;
        p.audio[2].checked = false;
        return p;
    }();
    const SessionChannels before = session;
    EXPECT_FALSE(PressAudioButton(panel, session, 2));
    EXPECT_EQ(panel, expected);
    EXPECT_EQ(session, before);
}

TEST(Audio, ReleasingTheAudioButtonSilencesWithoutAskingTheRecorder)
{
    ChannelPanel panel;
    SessionChannels session;
    ApplyMasksChanged(panel, session, 3, 0x000F, 0x000F, 0);
    panel.audio[0].checked = true;
    PressAudioButton(panel, session, 0);
    panel.audio[0].checked = false;
    const auto change = PressAudioButton(panel, session, 0);
    ASSERT_TRUE(change);
    EXPECT_EQ(*change, (AudioChange{std::nullopt, 0, false, false}));
    EXPECT_EQ(session.requestedAudio, 0);
    EXPECT_EQ(session.volume, 0);
    EXPECT_EQ(panel.sliderPosition, 100);
    EXPECT_FALSE(session.audioOn);
}

TEST(Audio, MuteActsOnlyOnALiveListedSession)
{
    ChannelPanel panel;
    SessionChannels session;
    panel.muteChecked = true;
    EXPECT_FALSE(PressMute(panel, session, true, false));
    EXPECT_FALSE(panel.muteChecked);
    panel.muteChecked = true;
    EXPECT_FALSE(PressMute(panel, session, false, true));
    EXPECT_FALSE(panel.muteChecked);

    panel.muteChecked = true;
    EXPECT_EQ(PressMute(panel, session, true, true), (AudioChange{std::nullopt, 0, false, false}));
    EXPECT_EQ(panel.sliderPosition, 100);
    EXPECT_EQ(session.volume, 0);
    panel.muteChecked = false;
    EXPECT_EQ(PressMute(panel, session, true, true), (AudioChange{std::nullopt, 100, false, true}));
    EXPECT_EQ(panel.sliderPosition, 0);
    EXPECT_EQ(session.volume, 100);
}

TEST(Audio, SliderVolumeIsHundredMinusPosition)
{
    ChannelPanel panel;
    SessionChannels session;
    EXPECT_EQ(ReleaseSlider(panel, session, 30), 70);
    EXPECT_EQ(session.volume, 70);
    EXPECT_EQ(ReleaseSlider(panel, session, 0), 100);
    EXPECT_EQ(ReleaseSlider(panel, session, 140), 0);
    EXPECT_EQ(ReleaseSlider(panel, session, -5), 100);
}

TEST(LiveStop, SessionGivesUpPanesAudioAndItsCount)
{
    ChannelPanel panel;
    SessionChannels session;
    ApplyMasksChanged(panel, session, 3, 0x00FF, 0x00FF, 0);
    session.ownedPanes = 0x0F00;
    session.requestedVideo = 0x00FF;
    session.requestedAudio = 0x0002;
    session.liveCount = 8;
    panel.video[1].checked = false;

    const LiveStop stop = StopLive(panel, session, 3, 0x000F, 0x0001);
    EXPECT_EQ(stop.releasedPanes, 0x0F00);
    EXPECT_EQ(stop.status, LangText::Id(7003));
    EXPECT_EQ(session.ownedPanes, 0);
    EXPECT_EQ(session.requestedAudio, 0);
    EXPECT_EQ(session.liveCount, 0);
    EXPECT_EQ(session.availableVideo, 0x000F);
    EXPECT_EQ(CheckedVideoMask(panel), 0x000F);
    EXPECT_EQ(panel.audio[0], kEnabled);
    EXPECT_EQ(panel.audio[1], kOff);
}

TEST(SessionSwitch, LeavingASessionCutsItsAudioButKeepsItsVideo)
{
    SessionChannels session;
    session.requestedVideo = 0x0033;
    session.requestedAudio = 0x0010;
    session.audioOn = true;
    EXPECT_EQ(LeaveSession(session), (MediaRequest{0x0033, 0}));
    EXPECT_EQ(session.requestedAudio, 0);
    EXPECT_FALSE(session.audioOn);
    EXPECT_EQ(session.requestedVideo, 0x0033);
}

} // namespace
