// What the server selection dialog learns from the main window's sessions.
#include "ViewerEmulator.h"
#include "support/processes/FreePort.h"
#include "support/QtTestApp.h"
#include "ui/app/MainWindowServerHost.h"
#include "ui/status/CInformationDlg.h"
#include "ui/viewer/LiveViewer.h"

#include <QTest>

#include <gtest/gtest.h>

TEST(ServerHostTest, AnswersFromTheSessionsAndConnectsThroughTheViewer)
{
    EnsureQApplication();
    std::string error;
    EmulatorProcess* emulator = ViewerEmulator(&error);
    ASSERT_TRUE(emulator) << error;
    QWidget window;
    CInformationDlg info(&window);
    LiveViewer viewer(&window, &info, {});
    MainWindowServerHost host(viewer);

    EXPECT_TRUE(host.OpenServerNames().empty());
    EXPECT_EQ(host.FirstSlotDvrType(), 0);
    EXPECT_FALSE(host.IsLiveRunning());

    const ServerDescriptor gate{"Gate", "127.0.0.1"};
    ASSERT_TRUE(host.Connect("127.0.0.1", std::to_string(emulator->Port(kEight)), "TCP", "ADMIN", "5829", gate));
    host.SetCurrentServerType("MODEL_B", gate);
    EXPECT_EQ(host.OpenServerNames(), std::vector<std::string>{"Gate"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.IsLiveRunning(); }, 15000));
    EXPECT_EQ(host.FirstSlotDvrType(), 2);
    EXPECT_EQ(host.LiveChannelsInUse(), 8);
    EXPECT_EQ(viewer.Sessions().At(0).record.typeText, "MODEL_B");

    // A second recorder that cannot be reached adds no slot.
    EXPECT_FALSE(host.Connect("127.0.0.1", std::to_string(FreeTcpPort()), "TCP", "ADMIN", "5829",
                              ServerDescriptor{"Off", "127.0.0.1"}));
    EXPECT_EQ(host.OpenServerNames().size(), 1u);
}
