#include "core/viewer/SessionReconnect.h"

#include "core/dvr/NotifyCodes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = SessionReconnect::Clock;
using Phase = SessionReconnect::Phase;

const Clock::time_point t0{};

NotifyReaction Notify(SessionReconnect& s, int code, Clock::time_point now)
{
    return s.OnNotify(code, ReactToNotify(0, code), now);
}

TEST(ReconnectPause, GrowsFromOneSecondAndStaysAtThirty)
{
    std::vector<long> pauses;
    for (int attempt = 0; attempt < 9; ++attempt)
        pauses.push_back(ReconnectPause(attempt).count());
    EXPECT_EQ(pauses, (std::vector<long>{1, 2, 4, 8, 16, 30, 30, 30, 30}));
    EXPECT_EQ(ReconnectPause(-1).count(), 1);
    EXPECT_EQ(ReconnectPause(1000000).count(), 30);
}

TEST(SessionReconnect, LostLinkKeepsTheRowAndFailedAttemptsWaitLongerEachTime)
{
    SessionReconnect s(true);
    Notify(s, kNotifyLoggedOnAdmin, t0);

    const NotifyReaction lost = Notify(s, kNotifyLinkClosed, t0 + 1s);
    EXPECT_FALSE(lost.disconnect);
    EXPECT_TRUE(lost.stopSession);
    ASSERT_TRUE(lost.message.has_value());  // the first loss is told
    EXPECT_EQ(s.State(), Phase::Waiting);
    EXPECT_EQ(s.SecondsLeft(t0 + 1s), 1);

    // Whatever the old connection still had queued is ignored while waiting.
    EXPECT_TRUE(Notify(s, kNotifyPollTimeout, t0 + 1500ms).ignored);
    EXPECT_TRUE(Notify(s, kNotifyMasksChanged, t0 + 1500ms).ignored);

    // Each attempt fails a different way; the pauses grow all the same.
    Clock::time_point now = t0 + 1s;
    std::vector<int> waits;
    for (int code : {kNotifyConnectFailed, 0, kNotifyLinkClosed, kNotifyTooManySessions, kNotifyPollTimeout, 0}) {
        const int wait = s.SecondsLeft(now);
        waits.push_back(wait);
        EXPECT_FALSE(s.TakeDue(now + std::chrono::seconds(wait) - 1ms));
        now += std::chrono::seconds(wait);
        ASSERT_TRUE(s.TakeDue(now));
        EXPECT_FALSE(s.TakeDue(now));
        EXPECT_EQ(s.State(), Phase::Connecting);
        if (code == 0) {
            s.AttemptFailed(now);
        } else {
            const NotifyReaction r = Notify(s, code, now);
            EXPECT_FALSE(r.disconnect);
            EXPECT_FALSE(r.message.has_value()) << code;  // no box per failed attempt
        }
        EXPECT_EQ(s.State(), Phase::Waiting);
    }
    EXPECT_EQ(waits, (std::vector<int>{1, 2, 4, 8, 16, 30}));
    EXPECT_EQ(s.SecondsLeft(now), 30);
    EXPECT_EQ(s.SecondsLeft(now + 29500ms), 1);
}

TEST(SessionReconnect, LogInAgainAsksForRestoreAndOnlyAStableLinkResetsThePauses)
{
    SessionReconnect s(true);
    Notify(s, kNotifyLoggedOnUser, t0);
    Notify(s, kNotifyPollTimeout, t0 + 60s);
    ASSERT_TRUE(s.TakeDue(t0 + 61s));
    Notify(s, kNotifyLoggedOnUser, t0 + 61s);
    EXPECT_EQ(s.State(), Phase::Up);
    EXPECT_TRUE(s.RestorePending());
    s.Restored();
    EXPECT_FALSE(s.RestorePending());

    // Dropped again at once (a recorder that takes the log-in and drops):
    // the pause keeps growing, never a tight loop.
    EXPECT_FALSE(Notify(s, kNotifyLinkClosed, t0 + 62s).message.has_value());
    EXPECT_EQ(s.SecondsLeft(t0 + 62s), 2);
    ASSERT_TRUE(s.TakeDue(t0 + 64s));
    Notify(s, kNotifyLoggedOnUser, t0 + 64s);
    Notify(s, kNotifyLinkClosed, t0 + 65s);
    EXPECT_EQ(s.SecondsLeft(t0 + 65s), 4);

    // Up for 30 s: the next loss starts from one second again.
    ASSERT_TRUE(s.TakeDue(t0 + 69s));
    Notify(s, kNotifyLoggedOnUser, t0 + 69s);
    const NotifyReaction r = Notify(s, kNotifyLinkClosed, t0 + 99s);
    EXPECT_EQ(s.SecondsLeft(t0 + 99s), 1);
    EXPECT_TRUE(r.message.has_value());
}

TEST(SessionReconnect, RefusedLogInEndsTheTriesAndOffLeavesEveryReactionAlone)
{
    SessionReconnect s(true);
    Notify(s, kNotifyLinkClosed, t0);
    ASSERT_TRUE(s.TakeDue(t0 + 1s));
    const NotifyReaction wrong = Notify(s, kNotifyWrongPassword, t0 + 1s);
    EXPECT_TRUE(wrong.disconnect);
    EXPECT_EQ(s.State(), Phase::Up);
    EXPECT_FALSE(s.RestorePending());
    EXPECT_FALSE(s.TakeDue(t0 + 100s));

    SessionReconnect off(false);
    for (int code : {kNotifyLinkClosed, kNotifyPollTimeout, kNotifyConnectFailed}) {
        const NotifyReaction plain = ReactToNotify(0, code);
        const NotifyReaction r = Notify(off, code, t0);
        EXPECT_EQ(r.disconnect, plain.disconnect) << code;
        EXPECT_EQ(r.stopSession, plain.stopSession) << code;
        EXPECT_EQ(r.message.has_value(), plain.message.has_value()) << code;
    }
    EXPECT_EQ(off.State(), Phase::Up);
    EXPECT_EQ(off.SecondsLeft(t0), 0);
}

TEST(SessionReconnect, ChangedKeyWaitsForTheOperatorNeverForATimer)
{
    SessionReconnect changedKey(true);
    Notify(changedKey, kNotifyLinkClosed, t0);
    ASSERT_TRUE(changedKey.TakeDue(t0 + 1s));
    const NotifyReaction refused = Notify(changedKey, kNotifyHostKeyChanged, t0 + 1s);
    EXPECT_TRUE(refused.stopSession);
    EXPECT_EQ(refused.handoff, NotifyHandoff::HostKeyChanged);
    EXPECT_EQ(changedKey.State(), Phase::Up);
    // The refused link's closing words change nothing, reconnecting on or off.
    SessionReconnect changedKeyOff(false);
    Notify(changedKeyOff, kNotifyHostKeyChanged, t0);
    for (SessionReconnect* session : {&changedKey, &changedKeyOff}) {
        for (int code : {kNotifyLinkClosed, kNotifyPollTimeout, kNotifyConnectFailed}) {
            const NotifyReaction after = Notify(*session, code, t0 + 2s);
            EXPECT_FALSE(after.stopSession || after.disconnect || after.message) << code;
        }
        EXPECT_EQ(session->State(), Phase::Up);
        EXPECT_FALSE(session->TakeDue(t0 + 100s));
    }
}

} // namespace
