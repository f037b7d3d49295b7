#include "core/viewer/SessionTable.h"

#include "core/viewer/LiveControl.h"
#include "core/viewer/NotifyReaction.h"

#include <gtest/gtest.h>

namespace {

// A session object that counts how often its connection was closed.
struct FakeSession {
    static inline unsigned s_nextId = 1;
    unsigned id = s_nextId++;
    int closes = 0;
    unsigned SessionId() const { return id; }
};

struct FakeRecord {
    int tag = 0;
};

using Table = SessionTable<FakeSession, FakeRecord>;

int Connect(Table& table, int liveCount, std::uint16_t requested)
{
    const int index = *table.Append();
    table.At(index).channels.liveCount = liveCount;
    table.At(index).channels.requestedVideo = requested;
    table.At(index).record.tag = index;
    return index;
}

TEST(SessionTable, ConnectAppendsAtTheRowCountUpToSixteen)
{
    Table table;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(table.Append(), i);
    EXPECT_TRUE(table.Full());
    EXPECT_FALSE(table.Append());
    EXPECT_EQ(table.Count(), 16);
}

TEST(SessionTable, DisconnectOfTheMiddleSessionKeepsTheOthersWithTheirState)
{
    Table table;
    Connect(table, 4, 0x000F);
    Connect(table, 2, 0x0003);
    Connect(table, 8, 0x00FF);
    table.At(2).descriptor = ServerDescriptor{"third", "127.0.0.1"};
    const unsigned firstId = table.At(0).session.SessionId();
    const unsigned thirdId = table.At(2).session.SessionId();
    const FakeSession* thirdObject = &table.At(2).session;
    const FakeRecord* thirdRecord = &table.At(2).record;

    auto removal = table.Remove(1);
    ASSERT_TRUE(removal.row);
    EXPECT_EQ(removal.row->record.tag, 1);

    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table.At(0).session.SessionId(), firstId);
    EXPECT_EQ(table.At(0).channels.requestedVideo, 0x000F);
    EXPECT_EQ(table.At(1).session.SessionId(), thirdId);
    EXPECT_EQ(table.At(1).channels.requestedVideo, 0x00FF);
    EXPECT_EQ(table.At(1).descriptor.name, "third");
    // The moved session is the same object: its connection was neither
    // closed nor copied, and its record (the live callback's context) stayed put.
    EXPECT_EQ(&table.At(1).session, thirdObject);
    EXPECT_EQ(&table.At(1).record, thirdRecord);
    EXPECT_EQ(table.At(1).session.closes, 0);

    EXPECT_EQ(removal.plan, (DisconnectPlan{{1}, 2}));
    EXPECT_EQ(table.LiveChannelTotal(), 12);
    EXPECT_EQ(table.FindBySessionId(thirdId), 1);
    EXPECT_EQ(table.Append(), 2);
}

TEST(SessionTable, DisconnectOfTheLastOrOnlySessionReArmsNothing)
{
    Table table;
    Connect(table, 1, 1);
    Connect(table, 1, 1);
    EXPECT_EQ(table.Remove(1).plan, (DisconnectPlan{{}, 1}));
    EXPECT_EQ(table.Remove(0).plan, (DisconnectPlan{{}, 0}));
    EXPECT_EQ(table.Count(), 0);
    EXPECT_FALSE(table.Remove(0).row);
    EXPECT_EQ(table.Remove(0).plan.stopPollTimer, -1);
}

TEST(SessionTable, NotificationsFollowTheSessionAfterItMovedDown)
{
    Table table;
    Connect(table, 0, 0);
    Connect(table, 0, 0);
    Connect(table, 0, 0);
    const unsigned removedId = table.At(0).session.SessionId();
    const unsigned lastId = table.At(2).session.SessionId();
    table.Remove(0);

    const NotifyReaction moved = ReactToNotify(table.FindBySessionId(lastId), 108);
    EXPECT_EQ(moved.session, 1);
    EXPECT_TRUE(moved.stopSession);
    // A late notification of the closed session touches nobody.
    EXPECT_TRUE(ReactToNotify(table.FindBySessionId(removedId), 106).ignored);
}

TEST(SessionTable, LiveCountOfOthersLeavesOneSessionOut)
{
    Table table;
    Connect(table, 9, 0x01FF);
    Connect(table, 3, 0x0007);
    EXPECT_EQ(table.LiveChannelsExcept(0), 3);
    EXPECT_EQ(table.LiveChannelsExcept(1), 9);
    EXPECT_EQ(table.LiveChannelTotal(), 12);
}

} // namespace

namespace {

TEST(SessionTable, MasksOfAnotherSessionSetUpItsOwnButtons)
{
    Table table;
    Connect(table, 0, 0);
    Connect(table, 0, 0);
    auto& other = table.At(1);
    ApplyMasksChanged(other.panel, other.channels, 3, 0x00FF, 0, 0);
    EXPECT_EQ(CheckedVideoMask(table.At(0).panel), 0);
    EXPECT_EQ(CheckedVideoMask(table.At(1).panel), 0x00FF);
    table.Remove(0);
    EXPECT_EQ(CheckedVideoMask(table.At(0).panel), 0x00FF);
}

} // namespace
