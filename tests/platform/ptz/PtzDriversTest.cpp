#include "platform/ptz/PtzChannelTable.h"
#include "support/TempDir.h"
#include "support/ptz/PelcoChecker.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fstream>
#include <vector>

namespace {

using ptz::Command;

const std::string kDriverDir = std::string(OMBREL_BIN_DIR) + "/lib/ptz";
const std::string kTestDriverDir = OMBREL_TEST_PTZ_DIR;

class PtzTable : public ::testing::Test {
protected:
    PtzChannelTable Table(const std::string& folder)
    {
        return PtzChannelTable(
            nullptr, folder,
            [this](unsigned char* data, int length) { packets.emplace_back(data, data + length); },
            [this](const std::string& line) { lines.push_back(line); });
    }

    // The packet's driver part, checked to end with the trailer of `channel`.
    std::vector<std::uint8_t> DriverBytes(std::size_t index, int channel)
    {
        const auto& p = packets.at(index);
        EXPECT_GE(p.size(), 3u);
        EXPECT_EQ(std::vector<std::uint8_t>(p.end() - 3, p.end()),
                  (std::vector<std::uint8_t>{0x61, 0x61, static_cast<std::uint8_t>(channel)}));
        return {p.begin(), p.end() - 3};
    }

    std::vector<std::vector<std::uint8_t>> packets;
    std::vector<std::string> lines;
};

struct Expected {
    Command command;
    bool PelcoFrame::*bit;  // null for the stop
    bool pans, tilts;
};

const Expected kCommands[] = {
    {Command::PanLeft, &PelcoFrame::left, true, false},      {Command::PanRight, &PelcoFrame::right, true, false},
    {Command::TiltUp, &PelcoFrame::up, false, true},         {Command::TiltDown, &PelcoFrame::down, false, true},
    {Command::ZoomIn, &PelcoFrame::zoomTele, false, false},  {Command::ZoomOut, &PelcoFrame::zoomWide, false, false},
    {Command::FocusNear, &PelcoFrame::focusNear, false, false},
    {Command::FocusFar, &PelcoFrame::focusFar, false, false},
    {Command::IrisOpen, &PelcoFrame::irisOpen, false, false},
    {Command::IrisClose, &PelcoFrame::irisClose, false, false},
    {Command::BreakPTZ, nullptr, false, false},
};

TEST_F(PtzTable, BothDriversFrameEveryCommandAndPresetAsTheProtocolsSay)
{
    struct Driver {
        const char* name;
        PelcoFrame::Kind kind;
        unsigned wireAddress;  // of PTZ id 5
        unsigned panSpeedAt40, tiltSpeedAt40, panSpeedAt100;
    } drivers[] = {{"PTZ_PELCOD", PelcoFrame::Kind::D, 5, 25, 25, 0x3F},
                   {"PTZ_PELCO", PelcoFrame::Kind::P, 4, 26, 25, 0x40}};
    for (const Driver& d : drivers) {
        SCOPED_TRACE(d.name);
        packets.clear();
        auto table = Table(kDriverDir);
        table.LoadDriver(3, d.name, 5);
        table.SetSelected(3);
        ASSERT_TRUE(table.SelectedHasDriver());
        EXPECT_EQ(table.SpeedOf(3), PtzChannelTable::kLoadSpeed);
        for (const Expected& e : kCommands)
            EXPECT_TRUE(table.Issue(e.command));
        ASSERT_TRUE(table.Preset(ptz::PresetAction::Set, 9));
        ASSERT_TRUE(table.Preset(ptz::PresetAction::Call, 255));
        ASSERT_TRUE(table.Preset(ptz::PresetAction::Clear, 1));
        EXPECT_FALSE(table.Preset(ptz::PresetAction::Call, 0));
        EXPECT_FALSE(table.Preset(ptz::PresetAction::Call, 256));
        table.SetSpeed(100);
        EXPECT_TRUE(table.Issue(Command::PanRight));
        ASSERT_EQ(packets.size(), std::size(kCommands) + 4);

        for (std::size_t i = 0; i < std::size(kCommands); ++i) {
            const Expected& e = kCommands[i];
            std::string why;
            auto frame = CheckPelco(DriverBytes(i, 3), &why);
            ASSERT_TRUE(frame) << why << " in packet " << i;
            EXPECT_EQ(frame->kind, d.kind);
            EXPECT_EQ(frame->address, d.wireAddress);
            if (!e.bit) {
                EXPECT_TRUE(frame->IsStop());
                continue;
            }
            PelcoFrame only = *frame;
            EXPECT_TRUE(only.*e.bit) << i;
            only.*e.bit = false;
            EXPECT_TRUE(only.IsStop()) << "a single command sets one bit, packet " << i;
            EXPECT_EQ(frame->panSpeed, e.pans ? d.panSpeedAt40 : 0u) << i;
            EXPECT_EQ(frame->tiltSpeed, e.tilts ? d.tiltSpeedAt40 : 0u) << i;
        }
        const int presetOps[] = {3, 7, 5};
        const unsigned presetNumbers[] = {9, 255, 1};
        for (std::size_t k = 0; k < 3; ++k) {
            std::string why;
            auto frame = CheckPelco(DriverBytes(std::size(kCommands) + k, 3), &why);
            ASSERT_TRUE(frame) << why;
            EXPECT_EQ(frame->presetOp, presetOps[k]);
            EXPECT_EQ(frame->preset, presetNumbers[k]);
            EXPECT_EQ(frame->address, d.wireAddress);
        }
        std::string why;
        auto fastest = CheckPelco(DriverBytes(packets.size() - 1, 3), &why);
        ASSERT_TRUE(fastest) << why;
        EXPECT_EQ(fastest->panSpeed, d.panSpeedAt100);
        EXPECT_TRUE(lines.empty());
    }
}

TEST_F(PtzTable, NoDriverNoSelectionOrAnUnknownProtocolSendNothing)
{
    auto table = Table(kDriverDir);
    EXPECT_TRUE(table.Issue(Command::PanLeft));  // nothing selected yet
    table.LoadDriver(2, "PTZ_PANASONIC", 1);     // a protocol we have no driver for
    table.LoadDriver(4, "", 1);
    table.SetSelected(2);
    EXPECT_FALSE(table.SelectedHasDriver());
    EXPECT_TRUE(table.Issue(Command::PanLeft));
    EXPECT_TRUE(table.Issue(Command::BreakPTZ));
    table.SetSelected(4);
    EXPECT_TRUE(table.Issue(Command::TiltUp));
    table.SetSelected(16);  // outside the table: the selection stays
    EXPECT_EQ(table.Selected(), 4);
    EXPECT_TRUE(packets.empty());
    EXPECT_TRUE(lines.empty());
}

TEST_F(PtzTable, LoadingAgainFreesTheFirstCopy)
{
    const std::string path = kDriverDir + "/PTZ_PELCOD";
    {
        auto table = Table(kDriverDir);
        table.LoadDriver(0, "PTZ_PELCOD", 1);
        table.LoadDriver(0, "PTZ_PELCOD", 2);
        // Had the first copy stayed loaded, the library would now be held twice.
        table.LoadDriver(0, "PTZ_PELCO", 2);
        EXPECT_EQ(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
        table.LoadDriver(1, "PTZ_PELCOD", 1);
        table.SetSelected(0);
        ASSERT_TRUE(table.Issue(Command::PanLeft));
        EXPECT_EQ(DriverBytes(0, 0).front(), 0xA0) << "channel 0 now speaks Pelco-P";
    }
    EXPECT_EQ(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "the table frees its drivers";
}

TEST_F(PtzTable, OddCountsOfATestDriverAreDroppedWithAStatusLineAndZeroIsTheTrailerAlone)
{
    auto table = Table(kTestDriverDir);
    table.LoadDriver(6, "PTZ_TEST", 0x42);
    table.SetSelected(6);
    ASSERT_TRUE(table.SelectedHasDriver());
    void* self = dlopen((kTestDriverDir + "/PTZ_TEST").c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(self, nullptr);
    auto speed = reinterpret_cast<unsigned (*)()>(dlsym(self, "TestSpeed"));
    auto interfaceCalls = reinterpret_cast<int (*)()>(dlsym(self, "TestInterfaceCalls"));
    EXPECT_EQ(speed(), PtzChannelTable::kLoadSpeed);
    table.SetSpeed(5);
    EXPECT_EQ(speed(), 5u);
    EXPECT_EQ(table.SpeedOf(6), 5u);

    EXPECT_TRUE(table.Issue(Command::PanLeft));     // 0 bytes
    EXPECT_FALSE(table.Issue(Command::PanRight));   // -1
    EXPECT_FALSE(table.Issue(Command::TiltUp));     // 126
    EXPECT_TRUE(table.Issue(Command::TiltDown));    // 125
    EXPECT_TRUE(table.Issue(Command::ZoomIn));      // not exported
    EXPECT_TRUE(table.Issue(Command::BreakPTZ));
    EXPECT_EQ(interfaceCalls(), 5) << "asked before every command the driver has";
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(packets[0], (std::vector<std::uint8_t>{0x61, 0x61, 6}));
    EXPECT_EQ(packets[1].size(), 128u);
    EXPECT_EQ(DriverBytes(1, 6), std::vector<std::uint8_t>(125, 0x42));
    EXPECT_EQ(DriverBytes(2, 6), (std::vector<std::uint8_t>{0xBB, 0x42}));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "PTZ driver PTZ_TEST returned -1 bytes; the command was dropped");
    EXPECT_EQ(lines[1], "PTZ driver PTZ_TEST returned 126 bytes; the command was dropped");
    dlclose(self);
}

TEST_F(PtzTable, AFileThatIsNoLibraryGivesNoDriverAndOneStatusLine)
{
    TempDir folder;
    std::ofstream(folder.path() + "/PTZ_DOME1") << "not a library";
    auto table = Table(folder.path());
    table.LoadDriver(0, "PTZ_DOME1", 1);
    table.LoadDriver(0, "PTZ_DOME1", 1);
    table.LoadDriver(1, "PTZ_DOME1", 1);
    table.SetSelected(0);
    EXPECT_FALSE(table.SelectedHasDriver());
    EXPECT_TRUE(table.Issue(Command::PanLeft));
    EXPECT_TRUE(packets.empty());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("PTZ driver PTZ_DOME1 cannot be loaded: ", 0), 0u) << lines[0];
}

}  // namespace
