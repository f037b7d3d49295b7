#include "core/video/StreamMapTable.h"

#include <gtest/gtest.h>

namespace {

TEST(StreamMapTable, AllocatesTheLowestFreeSlotUntilAllAreTaken)
{
    StreamMapTable table;
    EXPECT_EQ(table.AllocateSlot(), 0);
    EXPECT_EQ(table.AllocateSlot(), 1);
    EXPECT_EQ(table.AllocateSlot(), 2);
    table.FreeSlot(1);
    EXPECT_FALSE(table.IsInUse(1));
    EXPECT_EQ(table.AllocateSlot(), 1);
    for (int i = 3; i < StreamMapTable::kSlotCount; ++i)
        EXPECT_EQ(table.AllocateSlot(), i);
    EXPECT_EQ(table.AllocateSlot(), -1);
    table.Clear();
    EXPECT_EQ(table.AllocateSlot(), 0);
}

TEST(StreamMapTable, RewritesMappedCamerasAndLeavesOthers)
{
    StreamMapTable table;
    int slot = table.AllocateSlot();
    table.AddMapping(slot, 3, 0);
    table.AddMapping(slot, 7, 1);
    EXPECT_EQ(table.Rewrite(slot, 0xE3), 0xE0);
    EXPECT_EQ(table.Rewrite(slot, 0xE7), 0xE1);
    EXPECT_EQ(table.Rewrite(slot, 0xE5), 0xE5);  // unmapped passes unchanged
    EXPECT_EQ(table.Rewrite(slot, 0xC3), 0xC3);  // audio is never rewritten
    EXPECT_EQ(table.Rewrite(slot, 0x00), 0x00);  // an empty entry never matches
}

TEST(StreamMapTable, FirstMatchingEntryWinsForASharedSource)
{
    StreamMapTable table;
    int slot = table.AllocateSlot();
    table.AddMapping(slot, 0, 4);
    table.AddMapping(slot, 0, 5);
    EXPECT_EQ(table.Rewrite(slot, 0xE0), 0xE4);
    table.RemoveMapping(slot, 0);
    EXPECT_EQ(table.Rewrite(slot, 0xE0), 0xE5);
    // The emptied entry keeps its target and is refilled first.
    EXPECT_EQ(table.Slot(slot).target[0], 0xE4);
    EXPECT_EQ(table.Slot(slot).source[0], 0);
    table.AddMapping(slot, 9, 2);
    EXPECT_EQ(table.Slot(slot).source[0], 0xE9);
}

TEST(StreamMapTable, MappingsNeedASlotInUseAndRoomAndValidNumbers)
{
    StreamMapTable table;
    table.AddMapping(0, 1, 1);
    EXPECT_EQ(table.Slot(0).source[0], 0);
    int slot = table.AllocateSlot();
    for (int i = 0; i < 16; ++i)
        table.AddMapping(slot, i, 15 - i);
    table.AddMapping(slot, 0, 9);  // no empty entry left
    EXPECT_EQ(table.Rewrite(slot, 0xE0), 0xEF);
    table.AddMapping(slot, 16, 0);
    table.AddMapping(slot, -1, 0);
    table.AddMapping(-1, 0, 0);
    table.AddMapping(StreamMapTable::kSlotCount, 0, 0);
    EXPECT_EQ(table.Rewrite(StreamMapTable::kSlotCount, 0xE0), 0xE0);
    table.ClearMappings(slot);
    EXPECT_TRUE(table.IsInUse(slot));
    EXPECT_EQ(table.Rewrite(slot, 0xE0), 0xE0);
    table.FreeSlot(slot);
    const StreamMapSlot& s = table.Slot(slot);
    EXPECT_EQ(s.inUse, 0);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(s.target[i], 0);
}

} // namespace
