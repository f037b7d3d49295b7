#include "core/ptz/PtzPacket.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace ptz;

int g_interfaceCalls = 0;
int CountingInterface(void*)
{
    return ++g_interfaceCalls;
}

std::vector<std::uint8_t> Sent(const PtzPacket& packet)
{
    return {packet.bytes.begin(), packet.bytes.begin() + packet.length};
}

TEST(PtzPacket, DriverBytesAreFollowedByTheTrailerAndInterfaceTypeIsAskedFirst)
{
    g_interfaceCalls = 0;
    int callsSeenByDriver = -1;
    const auto packet = BuildPtzPacket(CountingInterface, nullptr, 7, [&](unsigned char* buffer) {
        callsSeenByDriver = g_interfaceCalls;
        // The buffer comes cleared.
        for (int i = 0; i < kCommandBufferSize; ++i)
            EXPECT_EQ(buffer[i], 0) << i;
        buffer[0] = 0xFF;
        buffer[1] = 0x01;
        return 2;
    });
    EXPECT_EQ(callsSeenByDriver, 1);
    ASSERT_EQ(packet.status, PacketStatus::Ready);
    EXPECT_EQ(Sent(packet), (std::vector<std::uint8_t>{0xFF, 0x01, 0x61, 0x61, 7}));
}

TEST(PtzPacket, ZeroBytesGiveTheTrailerAloneAndTheLargestCountStillFits)
{
    auto empty = BuildPtzPacket(nullptr, nullptr, 3, [](unsigned char*) { return 0; });
    ASSERT_EQ(empty.status, PacketStatus::Ready);
    EXPECT_EQ(Sent(empty), (std::vector<std::uint8_t>{0x61, 0x61, 3}));

    auto full = BuildPtzPacket(nullptr, nullptr, 15, [](unsigned char*) { return kMaxDriverBytes; });
    ASSERT_EQ(full.status, PacketStatus::Ready);
    EXPECT_EQ(full.length, kCommandBufferSize);
    EXPECT_EQ(full.bytes[127], 15);
}

TEST(PtzPacket, CountsNoBufferCanHoldAreDroppedAndAMissingEntryAsksNothing)
{
    for (int bad : {-1, -1000, kMaxDriverBytes + 1, 100000}) {
        auto packet = BuildPtzPacket(nullptr, nullptr, 0, [bad](unsigned char*) { return bad; });
        EXPECT_EQ(packet.status, PacketStatus::BadCount) << bad;
        EXPECT_EQ(packet.driverCount, bad);
        EXPECT_EQ(packet.length, 0);
    }
    g_interfaceCalls = 0;
    auto missing = BuildPtzPacket(CountingInterface, nullptr, 0, {});
    EXPECT_EQ(missing.status, PacketStatus::NoEntry);
    EXPECT_EQ(g_interfaceCalls, 0);
}

}  // namespace
