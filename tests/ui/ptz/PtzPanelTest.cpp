#include "core/config/RegistryBackend.h"
#include "core/ptz/PtzKeyState.h"
#include "platform/registry/SqliteRegistry.h"
#include "support/QtTestApp.h"
#include "support/TempDir.h"
#include "support/processes/EmulatorProcess.h"
#include "support/ptz/PelcoChecker.h"
#include "support/ptz/PtzCameras.h"
#include "ui/app/COrlixDlg.h"
#include "ui/controls/CtrlId.h"
#include "ui/ptz/CPTZController.h"
#include "ui/ptz/PtzPanel.h"
#include "ui/video/CRenderWnd.h"
#include "ui/viewer/LiveViewer.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

constexpr int kWaitMs = 20000;

// Channel 1 Pelco-D at address 1, channel 2 Pelco-P at address 2, channel 3
// a protocol without a driver.
const std::vector<PtzCamera> kCameras = {{0, 1, 1}, {1, 2, 2}, {2, 3, 3}};

std::vector<std::uint8_t> Bytes(const std::string& hexLine)
{
    std::istringstream words(hexLine);
    std::string word;
    words >> word;  // the time
    std::vector<std::uint8_t> bytes;
    while (words >> word)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
    return bytes;
}

class PtzPanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_emulator = new EmulatorProcess;
        if (!s_emulator->Start({{"MODEL_C", {"--loop-seconds", "1"}}}))
            s_error = s_emulator->Error();
        else if (!SetPtzCameras(s_emulator->Port(), kCameras))
            s_error = "the PTZ cameras could not be set";
    }
    static void TearDownTestSuite()
    {
        delete s_emulator;
        s_emulator = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_error.empty()) << s_error;
        EnsureQApplication();
        std::filesystem::create_directory(m_dir.path() + "/c");
        auto store = OpenRegistryAt(m_dir.path() + "/registry.db");
        ASSERT_TRUE(store.backend) << store.error;
        SetRegistryBackend(store.backend);
        m_dialog = std::make_unique<COrlixDlg>();
        m_dialog->show();
        ASSERT_TRUE(m_dialog->Connect("127.0.0.1", QString::number(s_emulator->Port()), "TCP", "ADMIN", "5829"));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const auto& sessions = m_dialog->Viewer().Sessions();
                return sessions.Has(0) && sessions.At(0).record.listed && sessions.At(0).record.hasSettings
                    && sessions.At(0).record.live.callbackRegistered;
            },
            kWaitMs));
        m_panel = m_dialog->findChild<PtzPanel*>();
        ASSERT_NE(m_panel, nullptr);
        m_linesBefore = SerialLines().size();
    }
    void TearDown() override
    {
        m_dialog.reset();
        SetRegistryBackend(nullptr);
    }

    std::vector<std::string> SerialLines() const
    {
        std::ifstream in(s_emulator->DataDir() + "/rec0/serial.log");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    // Waits for `count` packets after those seen so far; returns them whole.
    std::vector<std::vector<std::uint8_t>> NewPackets(std::size_t count)
    {
        // The count is checked by the caller; a shortfall shows there.
        (void)QTest::qWaitFor([&] { return SerialLines().size() >= m_linesBefore + count; }, kWaitMs);
        QTest::qWait(300);  // and nothing more
        const auto lines = SerialLines();
        std::vector<std::vector<std::uint8_t>> packets;
        for (std::size_t i = m_linesBefore; i < lines.size(); ++i)
            packets.push_back(Bytes(lines[i]));
        m_linesBefore = lines.size();
        return packets;
    }

    void SelectPane(int channel)
    {
        auto* video = m_dialog->findChild<CRenderWnd*>();
        const PaneRect& pane = video->PaneOf(channel);
        QTest::mousePress(video, Qt::LeftButton, {}, QPoint((pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2));
        QTest::mouseRelease(video, Qt::LeftButton, {}, QPoint((pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2));
        ASSERT_EQ(m_panel->Table().Selected(), channel);
    }

    QPushButton* Button(int id) { return FindCtrl<QPushButton>(m_dialog.get(), id); }

    void Hold(int id)
    {
        QTest::mousePress(Button(id), Qt::LeftButton);
        QTest::qWait(50);
        QTest::mouseRelease(Button(id), Qt::LeftButton);
    }

    void Key(QEvent::Type type, int key, bool autoRepeat, Qt::KeyboardModifiers modifiers = {})
    {
        QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
        QApplication::sendEvent(m_dialog->focusWidget() ? m_dialog->focusWidget() : m_dialog.get(), &event);
    }

    // The driver's frame of a packet after checking its trailer.
    static PelcoFrame Frame(const std::vector<std::uint8_t>& packet, int channel)
    {
        EXPECT_GE(packet.size(), 3u);
        EXPECT_EQ(std::vector<std::uint8_t>(packet.end() - 3, packet.end()),
                  (std::vector<std::uint8_t>{0x61, 0x61, static_cast<std::uint8_t>(channel)}));
        std::string why;
        auto frame = CheckPelco({packet.begin(), packet.end() - 3}, &why);
        EXPECT_TRUE(frame) << why;
        return frame.value_or(PelcoFrame{});
    }

    static EmulatorProcess* s_emulator;
    static std::string s_error;
    TempDir m_dir;
    ScopedEnv m_driveC{"DVR_DRIVE_C", m_dir.path() + "/c"};
    std::unique_ptr<COrlixDlg> m_dialog;
    PtzPanel* m_panel = nullptr;
    std::size_t m_linesBefore = 0;
};

EmulatorProcess* PtzPanelTest::s_emulator = nullptr;
std::string PtzPanelTest::s_error;

TEST_F(PtzPanelTest, ButtonsSendTheCommandThenTheStopAndTheCentreThreeStops)
{
    auto* controller = FindCtrl<CPTZController>(m_dialog.get(), 8000);
    ASSERT_NE(controller, nullptr);
    EXPECT_FALSE(controller->isVisible());
    QTest::mouseClick(Button(1239), Qt::LeftButton);
    ASSERT_TRUE(controller->isVisible());
    EXPECT_EQ(controller->geometry(), QRect(841, 169, 159, 175));
    EXPECT_EQ(Button(4017)->geometry(), QRect(18, 36, 39, 29));

    SelectPane(0);
    Hold(4017);
    auto packets = NewPackets(2);
    ASSERT_EQ(packets.size(), 2u);
    PelcoFrame left = Frame(packets[0], 0);
    EXPECT_EQ(left.kind, PelcoFrame::Kind::D);
    EXPECT_EQ(left.address, 1u);
    EXPECT_TRUE(left.left);
    EXPECT_EQ(left.panSpeed, 25u);  // speed 40 of 100 after the load
    EXPECT_TRUE(Frame(packets[1], 0).IsStop());

    QTest::mouseClick(Button(4021), Qt::LeftButton);
    packets = NewPackets(3);
    ASSERT_EQ(packets.size(), 3u);
    for (const auto& packet : packets)
        EXPECT_TRUE(Frame(packet, 0).IsStop());

    // A right click on a held button stops too; "m_btn_ptz_Zoomin" zooms out.
    SelectPane(1);
    QTest::mousePress(Button(4011), Qt::LeftButton);
    QTest::mousePress(Button(4011), Qt::RightButton);
    packets = NewPackets(2);
    ASSERT_EQ(packets.size(), 2u);
    PelcoFrame wide = Frame(packets[0], 1);
    EXPECT_EQ(wide.kind, PelcoFrame::Kind::P);
    EXPECT_EQ(wide.address, 1u);  // address 2, counted from 0 on a Pelco-P line
    EXPECT_TRUE(wide.zoomWide);
    EXPECT_TRUE(Frame(packets[1], 1).IsStop());
    QTest::mouseRelease(Button(4011), Qt::LeftButton);
    NewPackets(1);
}

TEST_F(PtzPanelTest, AChannelWithoutDriverSendsNothing)
{
    QTest::mouseClick(Button(1239), Qt::LeftButton);
    SelectPane(2);
    EXPECT_FALSE(m_panel->Table().SelectedHasDriver());
    Hold(4019);
    QTest::mouseClick(Button(4021), Qt::LeftButton);
    Key(QEvent::KeyPress, Qt::Key_Up, false);
    Key(QEvent::KeyRelease, Qt::Key_Up, false);
    QTest::qWait(500);
    EXPECT_EQ(SerialLines().size(), m_linesBefore);
}

TEST_F(PtzPanelTest, AHeldArrowKeyGivesOneCommandAndOneStopAndDigitsCallPresets)
{
    SelectPane(0);
    // The keys steer only while the PTZ panel is shown; before, the arrows
    // select the neighbouring pane as a click would, and stop at the edge.
    for (int key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Up}) {
        Key(QEvent::KeyPress, key, false);
        Key(QEvent::KeyRelease, key, false);
        const int expected = key == Qt::Key_Right ? 1 : 0;
        EXPECT_EQ(m_dialog->Viewer().SelectedChannel(), expected);
        EXPECT_EQ(m_panel->Table().Selected(), expected);
    }
    QTest::qWait(300);
    EXPECT_EQ(SerialLines().size(), m_linesBefore);
    QTest::mouseClick(Button(1239), Qt::LeftButton);

    Key(QEvent::KeyPress, Qt::Key_Right, false);
    for (int i = 0; i < 10; ++i) {
        // X sends auto-repeat as release-press pairs, not always marked.
        Key(QEvent::KeyRelease, Qt::Key_Right, i % 2 == 0);
        Key(QEvent::KeyPress, Qt::Key_Right, i % 2 == 0);
        QTest::qWait(20);
    }
    Key(QEvent::KeyRelease, Qt::Key_Right, false);
    QTest::qWait(3 * ptz::PtzKeyState::kReleaseSettleMs);  // the stop follows once the release settled
    Key(QEvent::KeyPress, Qt::Key_3, false, Qt::ControlModifier);
    Key(QEvent::KeyRelease, Qt::Key_3, false, Qt::ControlModifier);
    Key(QEvent::KeyPress, Qt::Key_3, false);
    Key(QEvent::KeyRelease, Qt::Key_3, false);
    auto packets = NewPackets(4);
    ASSERT_EQ(packets.size(), 4u);
    EXPECT_TRUE(Frame(packets[0], 0).right);
    EXPECT_TRUE(Frame(packets[1], 0).IsStop());
    EXPECT_EQ(Frame(packets[2], 0).presetOp, 3);
    EXPECT_EQ(Frame(packets[2], 0).preset, 3u);
    EXPECT_EQ(Frame(packets[3], 0).presetOp, 7);
    EXPECT_EQ(m_dialog->Viewer().SelectedChannel(), 0);

    // Hiding the panel while a key is held stops the camera.
    Key(QEvent::KeyPress, Qt::Key_Minus, false);
    QTest::mouseClick(Button(1224), Qt::LeftButton);
    Key(QEvent::KeyRelease, Qt::Key_Minus, false);
    packets = NewPackets(2);
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_TRUE(Frame(packets[0], 0).zoomWide);
    EXPECT_TRUE(Frame(packets[1], 0).IsStop());

    // So does selecting another pane: the stop goes to the camera that moves.
    QTest::mouseClick(Button(1239), Qt::LeftButton);
    Key(QEvent::KeyPress, Qt::Key_Left, false);
    SelectPane(1);
    Key(QEvent::KeyRelease, Qt::Key_Left, false);
    packets = NewPackets(2);
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_TRUE(Frame(packets[0], 0).left);
    EXPECT_TRUE(Frame(packets[1], 0).IsStop());
}

}  // namespace
