#include "core/viewer/LiveControl.h"
#include "support/processes/FreePort.h"
#include "PanesDecoding.h"
#include "ViewerEmulator.h"
#include "support/QtTestApp.h"
#include "ui/app/DemoAutomation.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/app/MainWindowServerHost.h"
#include "ui/status/CInformationDlg.h"
#include "ui/controls/CtrlId.h"
#include "ui/viewer/LiveViewer.h"
#include "ui/viewer/ServerListView.h"
#include "ui/viewer/ViewerText.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

constexpr int kWaitMs = 15000;

QString Text(int id)
{
    return TextOf(LangText::Id(id));
}

bool WasShown(int id, QMessageBox::Icon icon)
{
    for (const ShownMessage& shown : ShownMessages())
        if (shown.text == Text(id) && shown.caption == "DVR" && shown.icon == icon)
            return true;
    return false;
}

class LiveViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        s_emulator = ViewerEmulator(&error);
        ASSERT_TRUE(s_emulator) << error;
        ClearShownMessages();
        host.resize(1024, 768);
        viewer = std::make_unique<LiveViewer>(&host, &info, [this](const QString& line) { logLines << line; });
    }
    void TearDown() override { viewer.reset(); }

    bool Connect(Recorder recorder, const std::string& name, const QString& account = "ADMIN")
    {
        return viewer->Connect("127.0.0.1", QString::number(s_emulator->Port(recorder)), "TCP", account, "5829",
                               ServerDescriptor{name, "127.0.0.1"});
    }

    // Waits until session `index` was told `text` (a string id).
    bool WaitStatus(int index, int text)
    {
        return QTest::qWaitFor(
            [&] {
                const auto& sessions = viewer->Sessions();
                return sessions.Has(index) && sessions.At(index).record.statusLines.contains(Text(text));
            },
            kWaitMs);
    }

    // Waits until session `index` is listed and shows `channels` live channels.
    bool WaitLive(int index, int channels)
    {
        return QTest::qWaitFor(
            [&] {
                const auto& sessions = viewer->Sessions();
                return sessions.Has(index) && sessions.At(index).record.listed
                    && sessions.At(index).record.live.callbackRegistered
                    && sessions.At(index).channels.liveCount == channels;
            },
            kWaitMs);
    }

    // Every pane of the mask keeps receiving decoded pictures.
    bool PanesDecoding(std::uint16_t panes) { return ::PanesDecoding(*viewer, panes, kWaitMs); }

    QTableWidget* ServerList() { return FindCtrl<QTableWidget>(&host, ServerListView::kCtrlId); }
    QPushButton* Button(int id) { return FindCtrl<QPushButton>(&host, id); }

    static EmulatorProcess* s_emulator;
    QApplication& app = EnsureQApplication();  // before any widget member
    QWidget host;
    CInformationDlg info{&host};
    QStringList logLines;
    std::unique_ptr<LiveViewer> viewer;
};

EmulatorProcess* LiveViewerTest::s_emulator = nullptr;

} // namespace

TEST_F(LiveViewerTest, ConnectListsRowZeroAndFillsEveryPaneWithLiveVideo)
{
    ASSERT_TRUE(Connect(kSixteen, "Gate"));
    EXPECT_EQ(viewer->Current(), 0);
    ASSERT_TRUE(WaitLive(0, 16));

    QTableWidget* list = ServerList();
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->item(0, 0)->text(), "Gate");
    EXPECT_EQ(list->item(0, 1)->text(), "127.0.0.1");
    EXPECT_EQ(list->horizontalHeaderItem(0)->text(), "Server Name");

    EXPECT_EQ(viewer->OccupiedPanes(), 0xFFFF);
    for (int k = 0; k < 16; ++k) {
        QPushButton* video = Button(5000 + k);
        ASSERT_NE(video, nullptr);
        EXPECT_TRUE(video->isEnabled() && video->isChecked()) << "channel " << k + 1;
    }
    // MODEL_C has audio on channels 1 to 8.
    EXPECT_TRUE(Button(5107)->isEnabled());
    EXPECT_FALSE(Button(5108)->isEnabled());
    EXPECT_TRUE(Button(LiveViewer::kBtnDisconnect)->isEnabled());
    EXPECT_TRUE(PanesDecoding(0xFFFF));

    const QStringList lines = viewer->VisibleStatusLines();
    EXPECT_TRUE(lines.contains(Text(6035)));
    EXPECT_TRUE(lines.contains(Text(6033)));
    EXPECT_TRUE(logLines.contains("Log on as Administrator"));

    // One audio channel at a time; mute blocks the audio buttons.
    const SessionChannels& channels = viewer->Sessions().At(0).channels;
    QTest::mouseClick(Button(5101), Qt::LeftButton);
    QTest::mouseClick(Button(5103), Qt::LeftButton);
    EXPECT_FALSE(Button(5101)->isChecked());
    EXPECT_TRUE(Button(5103)->isChecked());
    EXPECT_EQ(channels.requestedAudio, 0x0008);
    EXPECT_TRUE(channels.audioOn);
    QTest::mouseClick(Button(1201), Qt::LeftButton);
    EXPECT_TRUE(Button(1201)->isChecked());
    EXPECT_FALSE(channels.audioOn);
    EXPECT_FALSE(viewer->Sessions().At(0).record.live.AudioEnabled());
    QTest::mouseClick(Button(5100), Qt::LeftButton);
    EXPECT_FALSE(Button(5100)->isChecked());
    EXPECT_EQ(channels.requestedAudio, 0x0008);
    // Unmuted, the channel chosen before is heard again at full volume.
    QTest::mouseClick(Button(1201), Qt::LeftButton);
    EXPECT_FALSE(Button(1201)->isChecked());
    EXPECT_TRUE(channels.audioOn);
    EXPECT_EQ(channels.volume, 100);
    EXPECT_EQ(viewer->Sessions().At(0).panel.sliderPosition, 0);

    // Live off gives the panes back; live on takes them again.
    QTest::mouseClick(Button(LiveViewer::kBtnLiveOff), Qt::LeftButton);
    EXPECT_EQ(viewer->OccupiedPanes(), 0);
    EXPECT_FALSE(viewer->Sessions().At(0).record.live.callbackRegistered);
    EXPECT_EQ(viewer->VisibleStatusLines().back(), Text(kStrLiveStopped));
    QTest::mouseClick(Button(LiveViewer::kBtnLiveOn), Qt::LeftButton);
    EXPECT_EQ(viewer->OccupiedPanes(), 0xFFFF);
    EXPECT_TRUE(PanesDecoding(0x8001));
}

TEST_F(LiveViewerTest, DisconnectingTheMiddleOfThreeKeepsTheOthersLiveInTheirNewRows)
{
    ASSERT_TRUE(Connect(kFourA, "A"));
    ASSERT_TRUE(WaitLive(0, 4));
    ASSERT_TRUE(Connect(kFourB, "B"));
    ASSERT_TRUE(WaitLive(1, 4));
    ASSERT_TRUE(Connect(kFourC, "C"));
    ASSERT_TRUE(WaitLive(2, 4));
    ASSERT_EQ(viewer->OccupiedPanes(), 0x0FFF);
    const unsigned idA = viewer->Sessions().At(0).session.SessionId();
    const unsigned idC = viewer->Sessions().At(2).session.SessionId();

    ServerList()->selectRow(1);
    viewer->SelectSession(1);
    QTest::mouseClick(Button(LiveViewer::kBtnDisconnect), Qt::LeftButton);

    const auto& sessions = viewer->Sessions();
    ASSERT_EQ(sessions.Count(), 2);
    ASSERT_EQ(ServerList()->rowCount(), 2);
    EXPECT_EQ(ServerList()->item(0, 0)->text(), "A");
    EXPECT_EQ(ServerList()->item(1, 0)->text(), "C");
    EXPECT_EQ(sessions.At(0).session.SessionId(), idA);
    EXPECT_EQ(sessions.At(1).session.SessionId(), idC);
    // Both show video again, packed into the first eight panes.
    EXPECT_EQ(viewer->OccupiedPanes(), 0x00FF);
    EXPECT_EQ(sessions.At(0).record.live.ownedPanes | sessions.At(1).record.live.ownedPanes, 0x00FF);
    EXPECT_EQ(sessions.LiveChannelTotal(), 8);
    EXPECT_TRUE(viewer->VisibleStatusLines().contains(Text(6032)));
    EXPECT_TRUE(PanesDecoding(0x00FF));

    // The moved session is still polled under its new index: it stays open
    // past its recorder's poll time-out and keeps its video.
    QTest::qWait(3500);
    ASSERT_EQ(sessions.Count(), 2);
    EXPECT_TRUE(sessions.At(1).record.live.callbackRegistered);
    EXPECT_TRUE(PanesDecoding(0x00F0));
}

TEST_F(LiveViewerTest, FailedLogInAndUnreachableRecorderAreReportedAndLeaveNoRow)
{
    ASSERT_TRUE(Connect(kRejecting, "Locked"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return WasShown(6022, QMessageBox::Critical); }, kWaitMs));
    EXPECT_EQ(viewer->Sessions().Count(), 0);
    // The row was never listed and no later timer lists it.
    QTest::qWait(1200);
    EXPECT_EQ(ServerList()->rowCount(), 0);
    EXPECT_EQ(viewer->VisibleStatusLines().back(), Text(6032));

    ClearShownMessages();
    const QString closed = QString::number(FreeTcpPort());
    EXPECT_FALSE(viewer->Connect("127.0.0.1", closed, "TCP", "ADMIN", "5829", ServerDescriptor{"Off", "127.0.0.1"}));
    EXPECT_TRUE(WasShown(6034, QMessageBox::Critical));
    EXPECT_EQ(viewer->Sessions().Count(), 0);
    // The next connect takes row 0.
    ASSERT_TRUE(Connect(kFourA, "A"));
    ASSERT_TRUE(WaitLive(0, 4));
}

TEST_F(LiveViewerTest, SecondRecorderOverSixteenChannelsIsRefusedAndTheFirstKeepsItsVideo)
{
    ASSERT_TRUE(Connect(kFourA, "A"));
    ASSERT_TRUE(WaitLive(0, 4));
    ASSERT_TRUE(Connect(kSixteen, "Big"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return WasShown(kStrTooManyChannels, QMessageBox::Information); }, kWaitMs));

    const auto& sessions = viewer->Sessions();
    EXPECT_EQ(sessions.At(1).channels.liveCount, 0);
    EXPECT_EQ(sessions.At(0).channels.liveCount, 4);
    EXPECT_EQ(viewer->OccupiedPanes(), 0x000F);
    for (int k = 0; k < 16; ++k)
        EXPECT_FALSE(sessions.At(1).panel.video[k].checked);
    EXPECT_TRUE(PanesDecoding(0x000F));

    // With all but four of its channels unchecked the big one fits.
    ASSERT_TRUE(QTest::qWaitFor([&] { return ServerList()->rowCount() == 2; }, kWaitMs));
    viewer->SelectSession(1);
    for (int k = 0; k < 4; ++k)
        QTest::mouseClick(Button(5000 + k), Qt::LeftButton);
    QTest::mouseClick(Button(LiveViewer::kBtnLiveOn), Qt::LeftButton);
    EXPECT_EQ(sessions.At(1).channels.liveCount, 4);
    EXPECT_EQ(viewer->OccupiedPanes(), 0x00FF);
}

TEST_F(LiveViewerTest, PairedAndEightChannelModelsEnableTheirOwnButtons)
{
    ASSERT_TRUE(Connect(kPaired, "Pair"));
    // Channels 1 and 3 carry their partners: two pictures, four cameras.
    ASSERT_TRUE(WaitLive(0, 2));
    const auto& sessions = viewer->Sessions();
    EXPECT_TRUE(Button(5000)->isChecked() && Button(5000)->isEnabled());
    EXPECT_TRUE(Button(5002)->isChecked() && Button(5002)->isEnabled());
    for (int id : {5001, 5003, 5004, 5015})
        EXPECT_FALSE(Button(id)->isChecked() || Button(id)->isEnabled()) << id;
    // Only channel 1 has audio on this model, whatever it reports.
    EXPECT_EQ(sessions.At(0).channels.availableAudio, 0x0001);
    EXPECT_TRUE(Button(5100)->isEnabled());
    EXPECT_FALSE(Button(5101)->isEnabled());
    // Unchecking channel 1 frees its partner.
    QTest::mouseClick(Button(5000), Qt::LeftButton);
    EXPECT_TRUE(Button(5001)->isEnabled());

    ASSERT_TRUE(Connect(kEight, "Eight"));
    ASSERT_TRUE(WaitLive(1, 8));
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(Button(5000 + k)->isChecked(), k < 8) << "channel " << k + 1;
    EXPECT_FALSE(Button(5008)->isEnabled());
}

TEST_F(LiveViewerTest, EachRefusedLogInStopsItsSessionWithItsOwnLine)
{
    ASSERT_TRUE(Connect(kFourA, "Stranger", "NOBODY"));
    ASSERT_TRUE(WaitStatus(0, 6023));
    ASSERT_TRUE(Connect(kOtherVersion, "Old"));
    ASSERT_TRUE(WaitStatus(1, 6025));
    ASSERT_TRUE(Connect(kOneSession, "Single"));
    ASSERT_TRUE(WaitLive(2, 4));
    ASSERT_TRUE(Connect(kOneSession, "Single again"));
    ASSERT_TRUE(WaitStatus(3, 6024));
    ASSERT_TRUE(Connect(kSilent, "Mute"));
    ASSERT_TRUE(WaitStatus(4, 6028));

    // Stopped sessions keep their rows; those refused at log-in never showed
    // video, and the one session served keeps playing.
    const auto& sessions = viewer->Sessions();
    EXPECT_EQ(sessions.Count(), 5);
    for (int i : {0, 1, 3})
        EXPECT_FALSE(sessions.At(i).record.live.callbackRegistered) << i;
    EXPECT_TRUE(ShownMessages().empty());
    EXPECT_TRUE(PanesDecoding(sessions.At(2).record.live.ownedPanes));
}

TEST_F(LiveViewerTest, ServerHostAnswersFromTheSessionsAndConnectsThroughTheViewer)
{
    MainWindowServerHost serverHost(*viewer);
    EXPECT_TRUE(serverHost.OpenServerNames().empty());
    EXPECT_EQ(serverHost.FirstSlotDvrType(), 0);
    EXPECT_FALSE(serverHost.IsLiveRunning());

    const ServerDescriptor gate{"Gate", "127.0.0.1"};
    ASSERT_TRUE(serverHost.Connect("127.0.0.1", std::to_string(s_emulator->Port(kEight)), "TCP", "ADMIN", "5829", gate));
    serverHost.SetCurrentServerType("MODEL_B", gate);
    EXPECT_EQ(serverHost.OpenServerNames(), std::vector<std::string>{"Gate"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return serverHost.IsLiveRunning(); }, kWaitMs));
    EXPECT_EQ(serverHost.FirstSlotDvrType(), 2);
    EXPECT_EQ(serverHost.LiveChannelsInUse(), 8);
    EXPECT_EQ(viewer->Sessions().At(0).record.typeText, "MODEL_B");
}

TEST_F(LiveViewerTest, InformationPanelShowsTheRecordersOwnModelNotTheRecordsGuess)
{
    MainWindowServerHost serverHost(*viewer);
    const ServerDescriptor gate{"Gate", "127.0.0.1"};
    ASSERT_TRUE(serverHost.Connect("127.0.0.1", std::to_string(s_emulator->Port(kSixteen)), "TCP", "ADMIN", "5829", gate));
    serverHost.SetCurrentServerType("MODEL_A", gate);
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer->Sessions().At(0).record.hasSettings; }, kWaitMs));
    EXPECT_EQ(info.TypeText(), "MODEL_C");
    EXPECT_EQ(viewer->Sessions().At(0).record.typeText, "MODEL_A") << "the record's guess is kept as it was";
}

TEST(DemoConnectionTest, NeedsFiveFieldsAndKeepsColonsInThePassword)
{
    EXPECT_FALSE(ParseDemoConnection("127.0.0.1:7050:TCP:ADMIN"));
    EXPECT_FALSE(ParseDemoConnection(""));
    const auto parsed = ParseDemoConnection("127.0.0.1:7050:TCP:ADMIN:a:b");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->host, "127.0.0.1");
    EXPECT_EQ(parsed->port, "7050");
    EXPECT_EQ(parsed->protocol, "TCP");
    EXPECT_EQ(parsed->account, "ADMIN");
    EXPECT_EQ(parsed->password, "a:b");

    const auto several = ParseDemoConnections(" 127.0.0.1:7050:TCP:ADMIN:a:b\n127.0.0.1:7051:UDP:USER:c ");
    ASSERT_EQ(several.size(), 2u);
    EXPECT_EQ(several[0].password, "a:b");
    EXPECT_EQ(several[1].port, "7051");
    EXPECT_EQ(several[1].protocol, "UDP");
    EXPECT_TRUE(ParseDemoConnections("127.0.0.1:7050:TCP:ADMIN:a 127.0.0.1:7051").empty());
}
