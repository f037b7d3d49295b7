#include "core/servers/HostKeyChangeText.h"
#include "core/servers/HostKeyPin.h"

#include <gtest/gtest.h>

namespace {

const std::string kKept = "SHA256:" + std::string(64, '1');
const std::string kShown = "SHA256:" + std::string(60, 'f') + "09ab";

TEST(HostKeyPin, OnlyTheLowerCaseSha256FormIsAFingerprint)
{
    EXPECT_TRUE(IsHostKeyFingerprint(kKept));
    EXPECT_TRUE(IsHostKeyFingerprint(kShown));
    for (const std::string& bad : {std::string(), std::string("SHA256:"), "SHA256:" + std::string(63, 'a'),
                                   "SHA256:" + std::string(65, 'a'), "SHA256:" + std::string(64, 'A'),
                                   "sha256:" + std::string(64, 'a'), "SHA256:" + std::string(63, 'a') + "g",
                                   "SHA256 " + std::string(64, 'a'), std::string(71, 'a')})
        EXPECT_FALSE(IsHostKeyFingerprint(bad)) << bad;
    EXPECT_EQ(HostKeyPinName("127.0.0.1", 7050), "127.0.0.1:7050");
}

TEST(HostKeyChangeText, NamesTheAddressAndBothKeysAndShowsADamagedPinHarmlessly)
{
    const HostKeyChange change{"127.0.0.1", 7050, kKept, kShown};
    EXPECT_EQ(HostKeyQuestionText(change), "The recorder at 127.0.0.1:7050 now shows another key.\nKept: " + kKept
                                               + "\nShown: " + kShown
                                               + "\nSomebody may be listening in between. Trust the new key and connect?");
    const std::string line = HostKeyRefusalLine(change);
    EXPECT_NE(line.find("127.0.0.1:7050"), std::string::npos);
    EXPECT_NE(line.find("kept " + kKept), std::string::npos);
    EXPECT_NE(line.find("shown " + kShown), std::string::npos);
    EXPECT_NE(line.find("--accept-new-key"), std::string::npos);

    // A damaged stored value: control characters masked, cut short; an empty one said so.
    const HostKeyChange damaged{"127.0.0.1", 7050, "bad\nvalue\r" + std::string(200, 'x'), kShown};
    const std::string damagedLine = HostKeyRefusalLine(damaged);
    EXPECT_EQ(damagedLine.find('\n'), std::string::npos);
    EXPECT_EQ(damagedLine.find('\r'), std::string::npos);
    EXPECT_NE(damagedLine.find("kept bad?value?xxx"), std::string::npos);
    // The first 80 bytes are shown.
    EXPECT_NE(damagedLine.find(std::string(70, 'x') + "..., shown"), std::string::npos) << damagedLine;
    EXPECT_EQ(damagedLine.find(std::string(71, 'x')), std::string::npos);
    EXPECT_NE(HostKeyQuestionText({"127.0.0.1", 7050, "", kShown}).find("Kept: (none readable)\n"),
              std::string::npos);
}

} // namespace
