// The Camera and Record Set pages' rules.
#include "core/dvr/SettingsBlock.h"
#include "core/setup/CameraPageRules.h"
#include "core/setup/RecordSetPageRules.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(CameraPageRulesTest, MotionGridPacksIntoTwoWordsPerChannel)
{
    DvrCameraSection s{};
    MotionGrid grid{};
    grid[0][0] = 0x01;  // row 0 col 0: bit 0 of word 1
    grid[0][3] = 0x80;  // row 3 col 7: bit 31 of word 1
    grid[0][4] = 0x02;  // row 4 col 1: bit 1 of word 2
    grid[15][7] = 0xFF; // row 7: bits 24..31 of word 2
    PackMotionGrid(grid, s);
    EXPECT_EQ(s.motionAreaRows0to3[0].get(), 0x80000001u);
    EXPECT_EQ(s.motionAreaRows4to7[0].get(), 0x00000002u);
    EXPECT_EQ(s.motionAreaRows4to7[15].get(), 0xFF000000u);
    EXPECT_EQ(s.motionAreaRows0to3[15].get(), 0u);
    const std::uint8_t* bytes = reinterpret_cast<const std::uint8_t*>(&s);
    EXPECT_EQ(bytes[0], 0x01);
    EXPECT_EQ(bytes[3], 0x80);
    EXPECT_EQ(bytes[64], 0x02);
    EXPECT_EQ(bytes[64 + 15 * 4 + 3], 0xFF);
    EXPECT_EQ(UnpackMotionGrid(s), grid);

    // Agrees with the block's own row access.
    ZERD_INFO_BLK block{};
    block.camera = s;
    EXPECT_EQ(MotionGridRow(block, 0, 3), 0x80);
    EXPECT_EQ(MotionGridRow(block, 15, 7), 0xFF);
}

TEST(CameraPageRulesTest, ClicksToggleTheCellUnderThePoint)
{
    const struct {
        int x, y, row, column;
    } table[] = {{0, 0, 0, 0}, {39, 29, 0, 0}, {40, 30, 1, 1}, {319, 239, 7, 7}, {160, 100, 3, 4}};
    for (const auto& row : table) {
        MotionGrid grid{};
        ASSERT_TRUE(ToggleMotionCell(grid, 2, false, row.x, row.y, 320, 240));
        EXPECT_EQ(grid[2][row.row], 1u << row.column) << row.x << "," << row.y;
        // Twice: unchanged.
        ToggleMotionCell(grid, 2, false, row.x, row.y, 320, 240);
        EXPECT_EQ(grid, MotionGrid{});
    }
    MotionGrid grid{};
    EXPECT_FALSE(ToggleMotionCell(grid, 2, false, 320, 10, 320, 240));
    EXPECT_FALSE(ToggleMotionCell(grid, 2, false, -1, 10, 320, 240));
    EXPECT_FALSE(ToggleMotionCell(grid, 16, false, 1, 1, 320, 240));
    EXPECT_FALSE(ToggleMotionCell(grid, 0, false, 1, 1, 4, 4));
    SetMotionCells(grid, 3, false, true);
    EXPECT_EQ(grid[3][5], 0xFF);
    EXPECT_EQ(grid[2][5], 0);
    SetMotionCells(grid, 3, false, false);
    EXPECT_EQ(grid, MotionGrid{});
}

TEST(CameraPageRulesTest, TwoGridModeSplitsThePictureBetweenThePair)
{
    const struct {
        int channel, x, y, target, row, column;
    } table[] = {{0, 0, 0, 0, 0, 0},      {0, 159, 239, 0, 7, 7}, {0, 160, 0, 1, 0, 0},
                 {1, 319, 30, 1, 1, 7},   {1, 20, 0, 0, 0, 1},    {3, 170, 100, 3, 3, 0},
                 {2, 100, 100, 2, 3, 5}};
    for (const auto& row : table) {
        MotionGrid grid{};
        ASSERT_TRUE(ToggleMotionCell(grid, row.channel, true, row.x, row.y, 320, 240));
        MotionGrid expected{};
        expected[row.target][row.row] = static_cast<std::uint8_t>(1u << row.column);
        EXPECT_EQ(grid, expected) << row.channel << " at " << row.x << "," << row.y;
    }
    MotionGrid grid{};
    SetMotionCells(grid, 3, true, true);
    EXPECT_EQ(grid[2][0], 0xFF);
    EXPECT_EQ(grid[3][7], 0xFF);
    EXPECT_EQ(grid[1][0], 0);
    EXPECT_EQ(grid[4][0], 0);
    EXPECT_EQ(MotionGridChannels(5, false).second, 5);
}

TEST(CameraPageRulesTest, ModelAPairsFrameRateAndQuality)
{
    const struct {
        std::uint8_t model;
        int channel;
        std::uint16_t written; // channels whose rate and quality change
    } table[] = {{1, 0, 0x0003}, {1, 1, 0x0003}, {1, 2, 0x000C}, {1, 3, 0x000C}, {1, 5, 0x0000},
                 {2, 1, 0x0002}, {4, 9, 0x0200}, {5, 1, 0x0002}};
    for (const auto& row : table) {
        DvrCameraSection s = MakeDefaultSettingsBlock(row.model).camera;
        std::memset(s.frameRate, 30, sizeof s.frameRate);
        std::memset(s.recordingQuality, 3, sizeof s.recordingQuality);
        CameraChannelFields f = FillCameraChannel(s, row.channel);
        f.frameRate = 12;
        f.qualityPosition = 6;
        f.sensitivity = 40;
        StoreCameraChannel(f, s, row.channel, row.model);
        for (int n = 0; n < 16; ++n) {
            const bool written = row.written & (1u << n);
            EXPECT_EQ(s.frameRate[n], written ? 12 : 30) << int(row.model) << " ch " << row.channel << " n " << n;
            EXPECT_EQ(s.recordingQuality[n], written ? 6 : 3);
            EXPECT_EQ(s.motionSensitivity[n] == 40, n == row.channel);
        }
    }
}

TEST(CameraPageRulesTest, StoreKeepsNamesShortAndThePtzBitPerChannel)
{
    DvrCameraSection s = MakeDefaultSettingsBlock(4).camera;
    s.ptzPresentMask.set(0x0030);
    CameraChannelFields f = FillCameraChannel(s, 4);
    EXPECT_EQ(f.name, "CAM5");
    f.ptzProtocolPosition = 0;
    f.name = "  ABCDEFGHIJ ";
    StoreCameraChannel(f, s, 4, 4);
    EXPECT_EQ(s.ptzPresentMask.get(), 0x0020);
    EXPECT_EQ(std::string(s.cameraName[4], 9), std::string("ABCDEFGH\0", 9));
    f = FillCameraChannel(s, 9);
    f.ptzProtocolPosition = 19;
    f.ptzAddress = 200;
    StoreCameraChannel(f, s, 9, 4);
    EXPECT_EQ(s.ptzPresentMask.get(), 0x0220);
    EXPECT_EQ(s.ptzProtocol[9], 19);
    EXPECT_EQ(s.ptzAddress[9], 200);

    // Default leaves names, protocols and the grid alone.
    s.reserved786 = 7;
    s.motionAreaRows0to3[1].set(5);
    SetCameraDefaults(s);
    for (int n = 0; n < 16; ++n) {
        const CameraChannelFields d = FillCameraChannel(s, n);
        EXPECT_EQ(d.sensitivity, 80);
        EXPECT_EQ(d.frameRate, 30);
        EXPECT_EQ(d.brightness + d.contrast + d.hue, 3 * 128);
        EXPECT_EQ(d.qualityPosition, 1);
        EXPECT_EQ(d.ptzAddress, 0);
    }
    EXPECT_EQ(s.reserved786, 0);
    EXPECT_EQ(s.ptzProtocol[9], 19);
    EXPECT_EQ(s.motionAreaRows0to3[1].get(), 5u);
    EXPECT_EQ(FillCameraChannel(s, 4).name, "ABCDEFGH");
}

TEST(CameraPageRulesTest, ModelLimitsAndTheTwoGridMode)
{
    const struct {
        std::uint8_t model;
        std::uint16_t live;
        bool groupA;
        std::uint16_t enabled;
        bool twoGrids;
    } table[] = {{1, 0x0005, true, 0x0005, false}, {1, 0x0005, false, 0x000F, true},
                 {5, 0x0002, false, 0x000F, true}, {5, 0x0002, true, 0x0002, false},
                 {2, 0x0000, false, 0x00FF, false}, {6, 0xFFFF, false, 0x000F, false},
                 {3, 0x0001, false, 0xFFFF, false}, {4, 0x0000, true, 0xFFFF, false}};
    for (const auto& row : table) {
        EXPECT_EQ(CameraEnabledChannels(row.model, row.live, row.groupA), row.enabled) << int(row.model);
        EXPECT_EQ(CameraTwoGridMode(row.model, row.groupA), row.twoGrids) << int(row.model);
    }
}

TEST(RecordSetPageRulesTest, FillStoreAndDefaults)
{
    DvrRecordSetSection s{};
    s.hiddenValue[1].set(700);
    s.resolution[0] = 3;
    s.resolution[1] = 9; // unknown: nothing selected, kept on store
    s.watermark[0] = 1;
    s.watermarkStrength[1] = 5;
    s.watermarkKey[0] = 77;
    s.audioRecord[0] = 0xF5;
    s.videoRecordChoice = 4;
    s.reserved15 = 0xEE;
    RecordSetPageFields f = FillRecordSetPage(s);
    EXPECT_EQ(f.resolutionPosition[1], -1);
    EXPECT_EQ(f.hiddenValue[1], 700);
    EXPECT_EQ(f.audioRecord[0], 0x05);
    const DvrRecordSetSection before = s;
    StoreRecordSetPage(f, s);
    EXPECT_EQ(std::memcmp(&s, &before, sizeof s), 0);

    SetRecordSetDefaults(f);
    StoreRecordSetPage(f, s);
    EXPECT_EQ(s.hiddenValue[0].get(), 10);
    EXPECT_EQ(s.hiddenValue[1].get(), 10);
    EXPECT_EQ(s.resolution[0] + s.resolution[1] + s.watermark[0] + s.watermark[1], 0);
    EXPECT_EQ(s.audioRecord[0], 0xFF); // upper bits are the recorder's
    EXPECT_EQ(s.audioRecord[1], 0x0F);
    EXPECT_EQ(s.videoRecordChoice, 1);
    EXPECT_EQ(s.reserved15, 0xEE);
}

TEST(RecordSetPageRulesTest, VideoRecordAndPairedResolution)
{
    EXPECT_EQ(VideoRecordChoice(1, true), 1);
    EXPECT_EQ(VideoRecordChoice(4, true), 8);
    EXPECT_EQ(VideoRecordChoice(3, false), 0);
    EXPECT_EQ(VideoRecordChoice(5, true), 0);
    const int mapped[] = {0, 0, 3, 3};
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(PairedGroupAResolution(p), mapped[p]);
        EXPECT_EQ(VideoRecordUsable(PairedGroupAResolution(p)), p >= 2);
    }
    EXPECT_TRUE(IsPairedModel(1));
    EXPECT_TRUE(IsPairedModel(5));
    EXPECT_FALSE(IsPairedModel(4));
}

TEST(RecordSetPageRulesTest, ModelLimits)
{
    using Video = RecordSetLimits::Video;
    const struct {
        std::uint8_t model;
        bool groupB, audio34;
        Video video;
        const char* titleA;
        const char* titleB;
    } table[] = {
        {1, false, false, Video::ByResolution, "GROUP A CAMERA 1~4", "GROUP B CAMERA NONE"},
        {2, true, true, Video::Unchanged, "GROUP A CAMERA 1~4", "GROUP B CAMERA 5~8"},
        {3, true, true, Video::Disabled, "GROUP A CAMERA 1~8", "GROUP B CAMERA 9~16"},
        {4, true, true, Video::Unchanged, "Group A Camera 1~8", "Group B Camera 9~16"},
        {5, true, true, Video::Disabled, "GROUP A CAMERA 1~8", "GROUP B CAMERA 9~16"},
        {6, false, true, Video::Disabled, "GROUP A CAMERA 1~4", "GROUP B CAMERA NONE"},
    };
    for (const auto& row : table) {
        const RecordSetLimits l = RecordSetModelLimits(row.model);
        EXPECT_EQ(l.groupB, row.groupB) << int(row.model);
        EXPECT_EQ(l.audio34, row.audio34) << int(row.model);
        EXPECT_EQ(l.video, row.video) << int(row.model);
        EXPECT_EQ(l.titleA, row.titleA);
        EXPECT_EQ(l.titleB, row.titleB);
    }
}
