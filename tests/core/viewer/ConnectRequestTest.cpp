#include "core/viewer/ConnectRequest.h"

#include <gtest/gtest.h>

namespace {

TEST(ConnectRequest, OnlyUpperCaseTcpCountsAsTcpAndBadPortTextGivesPortZero)
{
    EXPECT_TRUE(IsTcpProtocol("TCP"));
    for (const char* other : {"tcp", "Tcp", "UDP", "TCP ", ""})
        EXPECT_FALSE(IsTcpProtocol(other)) << other;

    EXPECT_EQ(ParsePortText(" 80 "), 80);
    EXPECT_EQ(ParsePortText("65535"), 65535);
    // Too large for a port: refused instead of wrapping onto another port.
    for (const char* bad : {"abc", "", "   ", "80a", "-80", "65536", "99999999999999999999"})
        EXPECT_EQ(ParsePortText(bad), 0) << bad;
}

} // namespace
