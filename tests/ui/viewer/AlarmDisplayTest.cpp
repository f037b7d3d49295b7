// Panes of cameras linked to an alarmed sensor flash until a pane is clicked.
#include "ViewerEmulator.h"
#include "core/dvr/NotifyCodes.h"
#include "core/dvr/SettingsBlock.h"
#include "platform/netctrl/ZERDNetwork.h"
#include "support/MessageLog.h"
#include "support/QtTestApp.h"
#include "ui/status/CInformationDlg.h"
#include "ui/video/CRenderWnd.h"
#include "ui/viewer/LiveViewer.h"

#include <QTest>

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;

bool Posted(MessageLog& log, unsigned session, int code, std::size_t from = 0)
{
    return log.WaitFor(
        [&](const MessageLog::Message& m) {
            return m.id == kMsgNetworkNotify && m.wParam == session && m.lParam == code;
        },
        10s, from);
}

// Links sensor 1 to camera 2 in the recorder's own settings.
void LinkFirstSensorToCameraTwo(std::uint16_t port)
{
    MessageLog log;
    CZERDNetwork net;
    char host[] = "127.0.0.1";
    char account[] = "ADMIN";
    char password[] = "5829";
    ASSERT_TRUE(net.Create(host, static_cast<short>(port), true, kMsgNetworkNotify, log.Handle(), 0));
    ASSERT_TRUE(net.SessionOpen(account, password));
    ASSERT_TRUE(Posted(log, net.SessionId(), kNotifyLoggedOnAdmin));
    ASSERT_TRUE(net.GetDVRInfo());
    ASSERT_TRUE(Posted(log, net.SessionId(), kNotifySettingsReceived));
    ZERD_INFO_BLK block = net.GetReceivedDVRInfo();
    block.sensor.cameraLinks[0].set(0x0002);
    const std::size_t mark = log.Size();
    ASSERT_TRUE(net.SetDVRInfo(&block.sensor, kSectionSensor));
    ASSERT_TRUE(Posted(log, net.SessionId(), kNotifySettingsWritten, mark));
    net.Destroy();
    net.SessionClose();
}

} // namespace

TEST(AlarmDisplayTest, LinkedCameraPaneFlashesUntilAPaneIsClicked)
{
    EnsureQApplication();
    std::string error;
    EmulatorProcess* emulator = ViewerEmulator(&error);
    ASSERT_TRUE(emulator) << error;
    LinkFirstSensorToCameraTwo(emulator->Port(kAlarming));
    if (HasFatalFailure())
        return;

    QWidget window;
    window.resize(1024, 768);
    CInformationDlg info(&window);
    LiveViewer viewer(&window, &info, {});
    window.show();
    ASSERT_TRUE(viewer.Connect("127.0.0.1", QString::number(emulator->Port(kAlarming)), "TCP", "ADMIN", "5829",
                               ServerDescriptor{"Yard", "127.0.0.1"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer.Alarm().Active(); }, 15000));
    // Camera 2 shows in pane 2; no other camera is linked.
    EXPECT_EQ(viewer.AlarmedPanes(), 0x0002);

    // Clicks count once the recorder is listed.
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer.Sessions().At(0).record.listed; }, 15000));
    auto* video = window.findChild<CRenderWnd*>();
    ASSERT_NE(video, nullptr);
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(viewer.Alarm().Active());
}
