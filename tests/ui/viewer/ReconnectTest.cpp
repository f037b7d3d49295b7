// Lost signal and reconnect against recorders that freeze, die, come back
// and drop the link at once.
#include "PanesDecoding.h"
#include "core/config/RegConfig.h"
#include "core/config/RegistryBackend.h"
#include "core/dvr/NotifyCodes.h"
#include "core/msg/WindowMessage.h"
#include "core/servers/ServerRecord.h"
#include "platform/registry/SqliteRegistry.h"
#include "support/QtTestApp.h"
#include "support/TempDir.h"
#include "support/processes/EmulatorProcess.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CtrlId.h"
#include "ui/status/CInformationDlg.h"
#include "ui/video/CRenderWnd.h"
#include "ui/viewer/LiveViewer.h"
#include "ui/viewer/ReconnectController.h"
#include "ui/viewer/ServerListView.h"
#include "ui/viewer/SignalMonitor.h"
#include "ui/viewer/ViewerText.h"

#include <QPoint>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <functional>
#include <memory>

namespace {

constexpr int kWaitMs = 15000;
using Phase = SessionReconnect::Phase;

class ReconnectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = OpenRegistryAt(dir / "registry.db");
        ASSERT_TRUE(store.backend) << store.error;
        SetRegistryBackend(store.backend);
        ClearShownMessages();
        host.resize(1024, 768);
    }
    void TearDown() override
    {
        viewer.reset();
        SetRegistryBackend(nullptr);
    }

    // One recorder process of its own, so it can be frozen or killed alone.
    EmulatorProcess& StartRecorder(std::unique_ptr<EmulatorProcess>& process, std::vector<std::string> options = {})
    {
        process = std::make_unique<EmulatorProcess>();
        EXPECT_TRUE(process->Start({{"MODEL_F", std::move(options)}}, {"--discovery-port", "0"})) << process->Error();
        return *process;
    }

    void MakeViewer() { viewer = std::make_unique<LiveViewer>(&host, &info, nullptr); }

    bool Connect(const EmulatorProcess& recorder, const std::string& name)
    {
        return viewer->Connect("127.0.0.1", QString::number(recorder.Port()), "TCP", "ADMIN", "5829",
                               ServerDescriptor{name, "127.0.0.1"});
    }

    void WriteRecord(const std::string& name, const EmulatorProcess& recorder, bool reconnect)
    {
        CRegConfig reg;
        ServerRecord record{name, "127.0.0.1", recorder.Port(), "ADMIN", "5829", "MODEL_F", "TCP", ""};
        ASSERT_TRUE(ServerDirectory(reg).Write(record));
        if (!reconnect) {
            ASSERT_TRUE(reg.SetKey(std::string(kServerInfoKey) + name, false));
            ASSERT_TRUE(reg.WriteInt("Reconnect", 0));
        }
    }

    // Waits for `done` while `always` holds at every look; false when either fails.
    bool WaitWhile(const std::function<bool()>& done, const std::function<bool()>& always, int ms = kWaitMs)
    {
        bool held = true;
        const bool reached = QTest::qWaitFor(
            [&] {
                held = held && always();
                return !held || done();
            },
            ms);
        return reached && held;
    }

    bool Live(int index, int channels) const
    {
        const auto& sessions = viewer->Sessions();
        return sessions.Has(index) && sessions.At(index).record.listed
            && sessions.At(index).record.live.callbackRegistered && sessions.At(index).channels.liveCount == channels;
    }

    Phase PhaseOf(int index) const
    {
        const SessionReconnect* state = viewer->Reconnect().StateOf(index);
        return state ? state->State() : Phase::Up;
    }

    QStringList Lines(int index) const { return viewer->Sessions().At(index).record.statusLines; }

    int MessagesShown(int id) const
    {
        int count = 0;
        for (const ShownMessage& shown : ShownMessages())
            count += shown.text == TextOf(LangText::Id(id)) ? 1 : 0;
        return count;
    }

    // The panes' pictures keep coming.
    bool Decoding(std::uint16_t panes, int ms = kWaitMs) { return PanesDecoding(*viewer, panes, ms); }

    QApplication& app = EnsureQApplication();
    TempDir dir;
    RegistryOpenResult store;
    QWidget host;
    CInformationDlg info{&host};
    std::unique_ptr<LiveViewer> viewer;
};

TEST_F(ReconnectTest, FrozenRecorderShowsNoSignalAndRecoversWhenPicturesReturn)
{
    // Long enough that the frozen recorder is not given up as silent.
    ScopedEnv timeout("OMBREL_NET_TIMEOUT_MS", "10000");
    std::unique_ptr<EmulatorProcess> process;
    EmulatorProcess& recorder = StartRecorder(process);
    MakeViewer();
    ASSERT_TRUE(Connect(recorder, "Door"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Live(0, 4); }, kWaitMs));
    ASSERT_TRUE(Decoding(0x000F));
    EXPECT_EQ(viewer->Signal().NoSignalPanes(), 0);

    ASSERT_TRUE(recorder.Signal(SIGSTOP));
    const bool marked = QTest::qWaitFor([&] { return viewer->Signal().NoSignalPanes() == 0x000F; }, 5000);
    ASSERT_TRUE(recorder.Signal(SIGCONT));
    ASSERT_TRUE(marked);
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewer->Signal().NoSignalPanes() == 0; }, kWaitMs));
    EXPECT_EQ(viewer->Sessions().Count(), 1);
    EXPECT_EQ(PhaseOf(0), Phase::Up);
}

TEST_F(ReconnectTest, KilledRecorderComesBackInItsPanesAndLayoutWhileTheOtherNeverStops)
{
    std::unique_ptr<EmulatorProcess> doorProcess;
    std::unique_ptr<EmulatorProcess> yardProcess;
    EmulatorProcess& door = StartRecorder(doorProcess);
    EmulatorProcess& yard = StartRecorder(yardProcess);
    MakeViewer();
    ASSERT_TRUE(Connect(door, "Door"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Live(0, 4); }, kWaitMs));
    ASSERT_TRUE(Connect(yard, "Yard"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Live(1, 4); }, kWaitMs));

    // The operator shows three cameras of each, Yard's first: Yard keeps
    // panes 4..6 and pane 3 stays free, where a fresh start would put Yard.
    QPushButton* second = FindCtrl<QPushButton>(&host, 5001);
    ASSERT_NE(second, nullptr);
    for (int index : {1, 0}) {
        viewer->SelectSession(index);
        second->click();
        viewer->StartLiveCurrent();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Live(index, 3); }, kWaitMs));
    }
    const auto& sessions = viewer->Sessions();
    const std::uint16_t doorPanes = sessions.At(0).channels.ownedPanes;
    const std::uint16_t yardPanes = sessions.At(1).channels.ownedPanes;
    const std::uint16_t yardCameras = sessions.At(1).channels.requestedVideo;
    EXPECT_EQ(doorPanes, 0x0007);
    EXPECT_EQ(yardPanes, 0x0070);
    EXPECT_EQ(yardCameras, 0x000D);
    ASSERT_TRUE(Decoding(doorPanes | yardPanes));

    // ... and looks at Yard's cameras four at a time.
    host.show();
    auto* video = host.findChild<CRenderWnd*>();
    ASSERT_NE(video, nullptr);
    const PaneRect yardFirst = video->PaneOf(4);
    QTest::mouseClick(video, Qt::LeftButton, {},
                      QPoint((yardFirst.left + yardFirst.right) / 2, (yardFirst.top + yardFirst.bottom) / 2));
    ASSERT_EQ(viewer->SelectedChannel(), 4);
    QPushButton* quad = FindCtrl<QPushButton>(&host, kBtnLayoutQuad);
    quad->click();
    ASSERT_TRUE(quad->isChecked());
    std::array<PaneRect, 16> layout;
    std::array<SnapshotSource, 16> shown;
    for (int pane = 0; pane < 16; ++pane) {
        layout[pane] = video->PaneOf(pane);
        shown[pane] = viewer->SourceOfPane(pane);
    }
    EXPECT_EQ(shown[6].recorderName, "Yard");
    EXPECT_EQ(shown[6].cameraNumber, 4);
    const auto doorPlays = [&] { return (viewer->Signal().NoSignalPanes() & doorPanes) == 0; };

    yard.Stop();
    ASSERT_TRUE(WaitWhile([&] { return PhaseOf(1) != Phase::Up; }, doorPlays));
    ASSERT_TRUE(WaitWhile([&] { return Lines(1).contains("Reconnecting in 1 s"); }, doorPlays));
    EXPECT_EQ(MessagesShown(6021), 1);
    EXPECT_EQ(sessions.Count(), 2);
    EXPECT_EQ(FindCtrl<QTableWidget>(&host, ServerListView::kCtrlId)->rowCount(), 2);
    // The dead recorder's panes say so; the other's keep playing.
    ASSERT_TRUE(WaitWhile([&] { return viewer->Signal().NoSignalPanes() == yardPanes; }, doorPlays));
    ASSERT_TRUE(Decoding(doorPanes));

    ASSERT_TRUE(yard.Restart()) << yard.Error();
    ASSERT_TRUE(WaitWhile([&] { return Live(1, 3) && PhaseOf(1) == Phase::Up; }, doorPlays, 40000));
    EXPECT_EQ(sessions.At(1).channels.ownedPanes, yardPanes);
    EXPECT_TRUE(Decoding(yardPanes));
    EXPECT_EQ(sessions.At(1).channels.requestedVideo, yardCameras);
    EXPECT_EQ(sessions.At(0).channels.ownedPanes, doorPanes);
    // The same layout, with every camera where it was.
    EXPECT_TRUE(quad->isChecked());
    for (int pane = 0; pane < 16; ++pane) {
        EXPECT_EQ(video->PaneOf(pane), layout[pane]) << "pane " << pane;
        EXPECT_EQ(viewer->SourceOfPane(pane).recorderName, shown[pane].recorderName) << "pane " << pane;
        EXPECT_EQ(viewer->SourceOfPane(pane).cameraNumber, shown[pane].cameraNumber) << "pane " << pane;
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewer->Signal().NoSignalPanes() == 0; }, kWaitMs));
    EXPECT_EQ(MessagesShown(6021), 1);
}

TEST_F(ReconnectTest, RecorderThatDropsAtOnceIsRetriedWithGrowingPauses)
{
    std::unique_ptr<EmulatorProcess> process;
    EmulatorProcess& recorder = StartRecorder(process, {"--disconnect-after", "1"});
    MakeViewer();
    ASSERT_TRUE(Connect(recorder, "Flaky"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Lines(0).contains("Reconnecting in 4 s"); }, 20000));
    QStringList waits;
    for (const QString& line : Lines(0))
        if (line.startsWith("Reconnecting in"))
            waits << line;
    EXPECT_EQ(waits, (QStringList{"Reconnecting in 1 s", "Reconnecting in 2 s", "Reconnecting in 4 s"}));
    EXPECT_EQ(viewer->Sessions().Count(), 1);
    EXPECT_EQ(MessagesShown(6021), 1);
}

TEST_F(ReconnectTest, ReconnectOffClosesTheDroppedSessionWhileAnotherKeepsPlaying)
{
    std::unique_ptr<EmulatorProcess> flakyProcess;
    std::unique_ptr<EmulatorProcess> steadyProcess;
    EmulatorProcess& flaky = StartRecorder(flakyProcess, {"--disconnect-after", "5"});
    EmulatorProcess& steady = StartRecorder(steadyProcess);
    WriteRecord("Flaky", flaky, false);
    WriteRecord("Steady", steady, true);
    MakeViewer();
    ASSERT_TRUE(Connect(flaky, "Flaky"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Live(0, 4); }, kWaitMs));
    ASSERT_TRUE(Connect(steady, "Steady"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Live(1, 4); }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return MessagesShown(6021) == 1; }, kWaitMs));

    const auto& sessions = viewer->Sessions();
    ASSERT_EQ(sessions.Count(), 1);
    QTableWidget* list = FindCtrl<QTableWidget>(&host, ServerListView::kCtrlId);
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->item(0, 0)->text(), "Steady");
    EXPECT_EQ(viewer->OccupiedPanes(), 0x000F);
    EXPECT_TRUE(Decoding(0x000F));
    EXPECT_EQ(PhaseOf(0), Phase::Up);
}

TEST_F(ReconnectTest, StatusLinesKeepNoMoreThanTheMessageListShows)
{
    // A session that reconnects all night says so all night.
    MakeViewer();
    for (int line = 0; line < 600; ++line)
        viewer->ShowStatus(QString::number(line));
    const QStringList lines = viewer->VisibleStatusLines();
    ASSERT_EQ(lines.size(), 500);
    EXPECT_EQ(lines.front(), "100");
    EXPECT_EQ(lines.back(), "599");
}

} // namespace

namespace {

// The shortcuts share this file's recorder set-up; they press the same
// buttons a click would.
TEST_F(ReconnectTest, FunctionKeysChooseLayoutsAndEscapeOnlyLeavesFullScreen)
{
    std::unique_ptr<EmulatorProcess> process;
    EmulatorProcess& recorder = StartRecorder(process);
    MakeViewer();
    ASSERT_TRUE(Connect(recorder, "Door"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Live(0, 4); }, kWaitMs));
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));

    QPushButton* quad = FindCtrl<QPushButton>(&host, 4002);
    QPushButton* full = FindCtrl<QPushButton>(&host, 4006);
    ASSERT_TRUE(quad && full);
    EXPECT_EQ(quad->toolTip(), "Four panes (F6)");
    QTest::keyClick(&host, Qt::Key_F6);
    EXPECT_TRUE(quad->isChecked());
    QTest::keyClick(&host, Qt::Key_F11);
    EXPECT_TRUE(full->isChecked());
    QTest::keyClick(&host, Qt::Key_Escape);
    EXPECT_FALSE(full->isChecked());
    QTest::keyClick(&host, Qt::Key_Escape);
    EXPECT_TRUE(host.isVisible());
    QTest::keyClick(&host, Qt::Key_F3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !viewer->CurrentLive(); }, kWaitMs));
    QTest::keyClick(&host, Qt::Key_F2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Live(0, 4); }, kWaitMs));
}

TEST_F(ReconnectTest, ChangedKeyIsRefusedAskedAboutAndNeverRetriedUnlessTheOperatorSaysYes)
{
    std::unique_ptr<EmulatorProcess> process;
    EmulatorProcess& recorder = StartRecorder(process);
    MakeViewer();
    ASSERT_TRUE(Connect(recorder, "Door"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Live(0, 4); }, kWaitMs));
    const unsigned refused = viewer->Sessions().At(0).session.SessionId();
    ClearShownMessages();
    const auto post = [&](unsigned session, int code) {
        return PostWindowMessage(viewer->NotifyWindow(), kMsgNetworkNotify, session, code);
    };

    // No, the box's default: the row stays refused; neither the link's
    // closing words nor a timer try again.
    ASSERT_TRUE(post(refused, kNotifyHostKeyChanged));
    ASSERT_TRUE(post(refused, kNotifyLinkClosed));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ShownMessages().empty(); }, kWaitMs));
    EXPECT_EQ(ShownMessages().front().icon, QMessageBox::Question);
    EXPECT_TRUE(ShownMessages().front().text.startsWith(
        "The recorder at 127.0.0.1:" + QString::number(recorder.Port()) + " now shows another key.\nKept: "));
    EXPECT_TRUE(Lines(0).contains(TextOf(LangText::Id(6026))));
    // Longer than the first pause of a lost link.
    QTest::qWait(2500);
    EXPECT_EQ(viewer->Sessions().Count(), 1);
    EXPECT_EQ(viewer->Sessions().At(0).session.SessionId(), refused);
    EXPECT_EQ(PhaseOf(0), Phase::Up);
    EXPECT_FALSE(Lines(0).contains("Reconnecting in 1 s"));
    EXPECT_EQ(ShownMessages().size(), 1u);

    // The operator closes the row and connects again; this time Yes connects
    // that server once more as the operator's connect does.
    viewer->DisconnectCurrent();
    ASSERT_TRUE(Connect(recorder, "Door"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Live(0, 4); }, kWaitMs));
    const unsigned asked = viewer->Sessions().At(0).session.SessionId();
    AnswerNextMessageBoxes({QMessageBox::Yes});
    ASSERT_TRUE(post(asked, kNotifyHostKeyChanged));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Live(0, 4) && viewer->Sessions().At(0).session.SessionId() != asked; }, kWaitMs));
    EXPECT_EQ(viewer->Sessions().Count(), 1);
    EXPECT_EQ(viewer->Sessions().At(0).descriptor.name, "Door");
    EXPECT_EQ(ShownMessages().size(), 2u);
}

} // namespace
