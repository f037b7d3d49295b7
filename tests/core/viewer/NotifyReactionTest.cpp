#include "core/viewer/NotifyReaction.h"

#include "core/viewer/ViewerTimers.h"

#include <gtest/gtest.h>

namespace {

TEST(NotifyReaction, SessionsAlreadyClosedAndCodesWithoutActionAreIgnored)
{
    EXPECT_TRUE(ReactToNotify(std::nullopt, 106).ignored);
    EXPECT_TRUE(ReactToNotify(16, 106).ignored);
    EXPECT_TRUE(ReactToNotify(-1, 106).ignored);
    for (int code : {99, 136, 115, 118, 121, 127, 131, 0})
        EXPECT_TRUE(ReactToNotify(0, code).ignored) << code;
    const NotifyReaction r = ReactToNotify(0, 121);
    EXPECT_FALSE(r.stopSession);
    EXPECT_TRUE(r.startTimers.empty());
}

TEST(NotifyReaction, LinkFailuresStopThePostingSessionWithAStatusLineOnly)
{
    // A recorder showing another key is refused as a failed connect, and the operator asked.
    const std::pair<int, int> cases[] = {{100, 6026}, {104, 6023}, {105, 6024}, {107, 6025}, {108, 6028}, {135, 6026}};
    for (auto [code, text] : cases) {
        // The failing session need not be the current one: the reaction names it.
        const NotifyReaction r = ReactToNotify(2, code);
        EXPECT_EQ(r.session, 2) << code;
        EXPECT_TRUE(r.stopSession) << code;
        EXPECT_FALSE(r.disconnect) << code;
        EXPECT_EQ(r.status, LangText::Id(text)) << code;
        EXPECT_FALSE(r.message) << code;
        EXPECT_EQ(r.handoff, code == 135 ? NotifyHandoff::HostKeyChanged : NotifyHandoff::None) << code;
    }
}

TEST(NotifyReaction, WrongPasswordAndClosedLinkDisconnectWithAMessage)
{
    const NotifyReaction wrong = ReactToNotify(3, 103);
    EXPECT_TRUE(wrong.stopSession);
    EXPECT_TRUE(wrong.disconnect);
    EXPECT_EQ(wrong.status, LangText::Id(6022));
    EXPECT_EQ(wrong.stopTimers, std::vector<int>{kTimerAddServerRow});
    EXPECT_EQ(wrong.message, (MessageRequest{LangText::Id(6022), MessageIcon::Error}));

    const NotifyReaction closed = ReactToNotify(3, 106);
    EXPECT_TRUE(closed.stopSession);
    EXPECT_TRUE(closed.disconnect);
    EXPECT_FALSE(closed.status);
    EXPECT_EQ(closed.message, (MessageRequest{LangText::Id(6021), MessageIcon::Information}));
}

TEST(NotifyReaction, LogOnFetchesTheSettingsOfThePostingSession)
{
    const NotifyReaction admin = ReactToNotify(4, 101);
    EXPECT_EQ(admin.status, LangText::Id(6027));
    EXPECT_EQ(admin.eventLog, "Log on as Administrator");
    EXPECT_TRUE(admin.fetchSettings);
    EXPECT_EQ(admin.startTimers, (std::vector<TimerStart>{{kTimerFetchSettings, 200}}));

    const NotifyReaction user = ReactToNotify(4, 102);
    EXPECT_EQ(user.status, LangText::Fixed("Logon User mode"));
    EXPECT_FALSE(user.eventLog);
    EXPECT_TRUE(user.fetchSettings);
}

TEST(NotifyReaction, SettingsResultsShowTheirOwnTexts)
{
    EXPECT_EQ(ReactToNotify(0, 111).message, (MessageRequest{LangText::Fixed("completed"), MessageIcon::Information}));
    EXPECT_EQ(ReactToNotify(0, 112).message, (MessageRequest{LangText::Fixed("Falied"), MessageIcon::Warning}));
    EXPECT_EQ(ReactToNotify(0, 113).message, (MessageRequest{LangText::Id(6025), MessageIcon::Error}));
    EXPECT_EQ(ReactToNotify(0, 114).startTimers, (std::vector<TimerStart>{{kTimerLiveStarted, 100}}));
}

TEST(NotifyReaction, PollTimerOfThePostingSessionRestartsWhenATransferEnds)
{
    // Settings received starts polling; the last step of each transfer (and a
    // failed upload) restarts it, under the posting session's own id.
    for (int code : {110, 120, 123, 126, 133}) {
        const NotifyReaction r = ReactToNotify(5, code);
        EXPECT_EQ(r.startTimers, (std::vector<TimerStart>{{5, 1000}})) << code;
    }
    for (int code : {119, 122, 124, 125}) {
        const NotifyReaction r = ReactToNotify(5, code);
        EXPECT_TRUE(r.startTimers.empty()) << code;
        EXPECT_FALSE(r.restartPollIfUploadEnded) << code;
    }
    for (int code : {132, 134}) {
        const NotifyReaction r = ReactToNotify(5, code);
        EXPECT_TRUE(r.startTimers.empty()) << code;
        EXPECT_TRUE(r.restartPollIfUploadEnded) << code;
        EXPECT_EQ(r.handoff, NotifyHandoff::Upload);
    }
    EXPECT_EQ(ReactToNotify(5, 109).handoff, NotifyHandoff::MasksChanged);
    EXPECT_EQ(ReactToNotify(5, 120).handoff, NotifyHandoff::LogDownload);
    EXPECT_EQ(ReactToNotify(5, 126).handoff, NotifyHandoff::RecordingProfile);
}

TEST(NotifyReaction, MissingLogIsToldAsLineAndBox)
{
    const NotifyReaction r = ReactToNotify(2, 120);
    EXPECT_EQ(r.status, LangText::Fixed("Not Found Log File!"));
    EXPECT_EQ(r.message, (MessageRequest{LangText::Fixed("Not Found Log File!"), MessageIcon::Information}));
    EXPECT_FALSE(r.stopSession);
    EXPECT_FALSE(ReactToNotify(2, 123).message);
}

TEST(ViewerTimers, OnlyTheSixteenSessionsHavePollTimers)
{
    EXPECT_EQ(FindTimerRule(15), (TimerRule{15, 1000, false, TimerDuty::PollSession}));
    EXPECT_FALSE(FindTimerRule(16));
    EXPECT_FALSE(FindTimerRule(-1));
}

} // namespace
