// The System and Network pages' fill and store rules.
#include "core/dvr/FixedText.h"
#include "core/dvr/SettingsBlock.h"
#include "core/setup/NetworkPageRules.h"
#include "core/setup/SystemPageRules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const DvrTypeNames kNames{"MODEL_A", "MODEL_B", "MODEL_C", "MODEL_D", "MODEL_E", "Porch"};

} // namespace

TEST(SystemPageRulesTest, LanguageListFollowsTheVideoStandard)
{
    EXPECT_EQ(LanguageListForStandard(1), (std::vector<std::uint8_t>{0, 1}));
    EXPECT_EQ(LanguageListForStandard(0), (std::vector<std::uint8_t>{0, 2, 3}));
    EXPECT_EQ(LanguageListForStandard(7), (std::vector<std::uint8_t>{0, 2, 3}));

    // CHINESE is position 1 on a PAL recorder and is sent as 1; KOREAN is
    // position 2 on an NTSC recorder and is sent as 3.
    DvrSystemSection pal = MakeDefaultSettingsBlock(6).system;
    pal.videoStandard = 1;
    SystemPageFields fields = FillSystemPage(pal, kNames);
    fields.languagePosition = 1;
    StoreSystemPage(fields, pal);
    EXPECT_EQ(pal.language, 1);

    DvrSystemSection ntsc = MakeDefaultSettingsBlock(6).system;
    ntsc.videoStandard = 0;
    fields = FillSystemPage(ntsc, kNames);
    fields.languagePosition = 2;
    StoreSystemPage(fields, ntsc);
    EXPECT_EQ(ntsc.language, 3);

    // A language the list does not offer selects nothing and stays stored.
    ntsc.language = 1;
    fields = FillSystemPage(ntsc, kNames);
    EXPECT_EQ(fields.languagePosition, -1);
    StoreSystemPage(fields, ntsc);
    EXPECT_EQ(ntsc.language, 1);
}

TEST(SystemPageRulesTest, FillShowsEveryFieldAndOddValuesAsTheListsCan)
{
    DvrSystemSection s = MakeDefaultSettingsBlock(6).system;
    s.recorderId = 42;
    s.daylightSaving = 5;
    s.videoStandard = 9;
    s.mouseSensor = 3;
    s.alphablend = 10;
    WriteFixedText(s.adminPassword, "abcdefgh");
    SystemPageFields f = FillSystemPage(s, kNames);
    EXPECT_EQ(f.idText, "42");
    EXPECT_EQ(f.daylightSavingPosition, 1);  // above 1 shows "Yes"
    EXPECT_EQ(f.videoStandardPosition, 0);   // above 1 shows "NTSC"
    EXPECT_EQ(f.mouseSensorPosition, 2);
    EXPECT_EQ(f.alphablendPosition, 9);
    EXPECT_EQ(f.adminPassword, "abcdefgh");
    EXPECT_EQ(f.dvrTypeName, "Porch");  // the registry's name for type 6

    s.dvrTypeCode = 9;
    s.mouseSensor = 0;
    f = FillSystemPage(s, kNames);
    EXPECT_FALSE(f.dvrTypeName);  // the field keeps what it showed
    EXPECT_EQ(f.mouseSensorPosition, -1);
}

TEST(SystemPageRulesTest, StoreTrimsAndKeepsPasswordsToEightWithTheNinthByteZero)
{
    DvrSystemSection s = MakeDefaultSettingsBlock(3).system;
    std::memset(s.guest1Password, 'x', sizeof s.guest1Password);
    SystemPageFields f = FillSystemPage(s, kNames);
    f.adminPassword = "12345678";
    f.guest0Password = "  pw  ";
    f.guest1Password = "";
    f.idText = " 17 ";
    f.mouseSensorPosition = 0;
    f.alphablendPosition = 4;
    StoreSystemPage(f, s);
    EXPECT_EQ(std::string(s.adminPassword, 8), "12345678");
    EXPECT_EQ(s.adminPassword[8], 0);
    EXPECT_EQ(ReadFixedText(s.guest0Password), "pw");
    EXPECT_EQ(std::string(s.guest1Password, 9), std::string(9, '\0'));
    EXPECT_EQ(s.recorderId, 17);
    EXPECT_EQ(s.mouseSensor, 1);
    EXPECT_EQ(s.alphablend, 5);
    EXPECT_EQ(s.dvrTypeCode, 3);  // never the page's to change
}

TEST(SystemPageRulesTest, IdOf256OrMoreBecomesZeroAtOnce)
{
    EXPECT_EQ(SystemIdEditText("255"), "255");
    EXPECT_EQ(SystemIdEditText("256"), "0");
    EXPECT_EQ(SystemIdEditText("300"), "0");
    EXPECT_EQ(SystemIdEditText("9999"), "0");
    EXPECT_EQ(SystemIdEditText(""), "");
    EXPECT_EQ(SystemIdEditText("30"), "30");
}

TEST(SystemPageRulesTest, DefaultSetsOnlyTheControls)
{
    DvrSystemSection s = MakeDefaultSettingsBlock(1).system;
    s.videoStandard = 1;
    SystemPageFields f = FillSystemPage(s, kNames);
    SetSystemPageDefaults(f);
    EXPECT_EQ(f.languagePosition, 0);
    EXPECT_EQ(f.idText, "0");
    EXPECT_EQ(f.daylightSavingPosition, 1);
    EXPECT_EQ(f.videoStandardPosition, 0);
    EXPECT_EQ(f.mouseSensorPosition, 1);
    EXPECT_EQ(f.alphablendPosition, 9);
    EXPECT_EQ(f.adminPassword, "5829");
    EXPECT_EQ(f.guest1Password, "5829");
}

TEST(NetworkPageRulesTest, TheAllButtonChecksEveryEvent)
{
    DvrNetworkSection n = MakeDefaultSettingsBlock(3).network;
    n.eventMailMask.set(0x0001);
    NetworkPageFields f = FillNetworkPage(n);
    for (bool on : f.events)
        EXPECT_TRUE(on);

    n.eventMailMask.set(0x0006);  // POWER and SENSOR
    f = FillNetworkPage(n);
    EXPECT_EQ(f.events, (std::array<bool, 9>{false, true, true, false, false, false, false, false, false}));

    // Checking ALL refills from the working copy and checks all nine; the
    // text typed since goes back to the copy's.
    f.dvrName = "typed";
    ApplyAllEventsButton(f, true, n);
    EXPECT_EQ(f.dvrName, ReadFixedText(n.dvrName));
    for (bool on : f.events)
        EXPECT_TRUE(on);
    ApplyAllEventsButton(f, false, n);
    for (bool on : f.events)
        EXPECT_FALSE(on);

    f.events[0] = true;
    f.events[8] = true;
    StoreNetworkPage(f, n);
    EXPECT_EQ(n.eventMailMask.get(), 0x0101);
}

TEST(NetworkPageRulesTest, StoreWritesEveryFieldAndKeepsTheMacAddress)
{
    DvrNetworkSection n = MakeDefaultSettingsBlock(3).network;
    const std::uint8_t mac[6] = {1, 2, 3, 4, 5, 6};
    std::memcpy(n.macAddress, mac, 6);
    n.mailServerConfirm = 7;
    NetworkPageFields f = FillNetworkPage(n);
    EXPECT_EQ(f.confirmPosition, 0);  // above 1 shows "NOT"
    f.port = 8080;
    f.addresses[3] = {10, 0, 0, 53};
    f.dvrName = std::string(50, 'n');
    f.mailSender = "  me@example.org ";
    StoreNetworkPage(f, n);
    EXPECT_EQ(n.port.get(), 8080);
    EXPECT_EQ(n.dnsServer[3], 53);
    EXPECT_EQ(std::string(n.dvrName, 50), std::string(50, 'n'));  // fills its field, no terminator
    EXPECT_EQ(ReadFixedText(n.mailSender), "me@example.org");
    EXPECT_EQ(n.mailServerConfirm, 0);
    EXPECT_EQ(std::memcmp(n.macAddress, mac, 6), 0);

    SetNetworkPageDefaults(f);
    EXPECT_EQ(f.port, 7050);
    EXPECT_EQ(f.addresses[0], (std::array<std::uint8_t, 4>{192, 168, 123, 98}));
    EXPECT_EQ(f.addresses[1], (std::array<std::uint8_t, 4>{192, 168, 123, 254}));
    EXPECT_EQ(f.addresses[2], (std::array<std::uint8_t, 4>{255, 255, 255, 0}));
    EXPECT_EQ(f.addresses[4], (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(f.mailServerId, "ADMIN");
    EXPECT_EQ(f.mailServerPassword, "5829");
    for (bool on : f.events)
        EXPECT_FALSE(on);
}
