#include "core/viewer/ConnectRequest.h"

#include <gtest/gtest.h>

namespace {

TEST(ConnectRequest, OnlyUpperCaseTcpCountsAsTcp)
{
    EXPECT_TRUE(IsTcpProtocol("TCP"));
    EXPECT_FALSE(IsTcpProtocol("tcp"));
    EXPECT_FALSE(IsTcpProtocol("Tcp"));
    EXPECT_FALSE(IsTcpProtocol("UDP"));
    EXPECT_FALSE(IsTcpProtocol("TCP "));
    EXPECT_FALSE(IsTcpProtocol(""));
}

TEST(ConnectRequest, PortTextThatIsNotANumberGivesPortZero)
{
    EXPECT_EQ(ParsePortText("7050"), 7050);
    EXPECT_EQ(ParsePortText(" 80 "), 80);
    EXPECT_EQ(ParsePortText("65535"), 65535);
    EXPECT_EQ(ParsePortText("abc"), 0);
    EXPECT_EQ(ParsePortText(""), 0);
    EXPECT_EQ(ParsePortText("   "), 0);
    EXPECT_EQ(ParsePortText("80a"), 0);
    EXPECT_EQ(ParsePortText("-80"), 0);
    // Too large for a port: refused instead of wrapping onto another port.
    EXPECT_EQ(ParsePortText("65536"), 0);
    EXPECT_EQ(ParsePortText("99999999999999999999"), 0);
}

} // namespace
