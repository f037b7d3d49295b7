// Button 222 of the whole main window against a live recorder.
#include "ViewerEmulator.h"
#include "core/config/RegConfig.h"
#include "core/config/RegistryBackend.h"
#include "core/servers/ServerRecord.h"
#include "platform/registry/SqliteRegistry.h"
#include "support/QtTestApp.h"
#include "support/TempDir.h"
#include "ui/app/COrlixDlg.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CtrlId.h"
#include "ui/setup/CSetupDVRSetup.h"
#include "ui/viewer/LiveViewer.h"
#include "ui/viewer/ViewerText.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int kWaitMs = 15000;

QString Text(int id)
{
    return TextOf(LangText::Id(id));
}

} // namespace

TEST(RemoteSetupTest, LiveVideoBlocksSetupAndOnlyAConfirmedPasswordEntersIt)
{
    EnsureQApplication();
    std::string error;
    EmulatorProcess* emulator = ViewerEmulator(&error);
    ASSERT_TRUE(emulator) << error;
    TempDir dir;
    ScopedEnv driveC("DVR_DRIVE_C", dir.path());
    auto store = OpenRegistryAt(dir / "registry.db");
    ASSERT_TRUE(store.backend) << store.error;
    SetRegistryBackend(store.backend);
    struct Unset {
        ~Unset() { SetRegistryBackend(nullptr); }
    } unset;
    {
        CRegConfig reg;
        ServerRecord porch{"Porch", "127.0.0.1", emulator->Port(kFourA), "ADMIN", "5829", "MODEL_F", "TCP", ""};
        ASSERT_TRUE(ServerDirectory(reg).Write(porch));
    }
    ClearShownMessages();

    COrlixDlg dialog;
    dialog.show();
    int asked = 0;
    bool answer = false;
    dialog.SetSetupPasswordCheck([&] {
        ++asked;
        return answer;
    });
    ASSERT_TRUE(dialog.Connect("127.0.0.1", QString::number(emulator->Port(kFourA)), "TCP", "ADMIN", "5829"));
    LiveViewer& viewer = dialog.Viewer();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return viewer.Sessions().Has(0) && viewer.Sessions().At(0).record.listed && viewer.AnyListedSessionLive(); },
        kWaitMs));
    // The registered server at that address and port names the session.
    EXPECT_EQ(viewer.Sessions().At(0).descriptor.name, "Porch");
    // The recorder's live start notice arms the start timers.
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewer.StartPhase().Started(); }, kWaitMs));

    auto* setup = FindCtrl<QPushButton>(&dialog, 222);
    ASSERT_TRUE(setup->isEnabled());
    QTest::mouseClick(setup, Qt::LeftButton);
    ASSERT_EQ(ShownMessages().size(), 1u);
    EXPECT_EQ(ShownMessages()[0].text, Text(6040));
    EXPECT_EQ(ShownMessages()[0].icon, QMessageBox::Warning);
    EXPECT_EQ(asked, 0);

    QTest::mouseClick(FindCtrl<QPushButton>(&dialog, LiveViewer::kBtnLiveOff), Qt::LeftButton);
    ASSERT_FALSE(viewer.AnyListedSessionLive());
    ClearShownMessages();
    QTest::mouseClick(setup, Qt::LeftButton);
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(ShownMessages().size(), 1u);
    EXPECT_EQ(ShownMessages()[0].text, Text(6022));
    EXPECT_EQ(ShownMessages()[0].icon, QMessageBox::Warning);

    ClearShownMessages();
    answer = true;
    QTest::mouseClick(setup, Qt::LeftButton);
    EXPECT_TRUE(ShownMessages().empty());
    EXPECT_TRUE(viewer.SetupMode());
    EXPECT_TRUE(viewer.Setup().IsOpen());
    viewer.Setup().Host().Exit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer.SetupMode(); }, kWaitMs));

    // Disconnecting greys it again, and a user-mode session never enables it.
    QTest::mouseClick(FindCtrl<QPushButton>(&dialog, LiveViewer::kBtnDisconnect), Qt::LeftButton);
    EXPECT_FALSE(setup->isEnabled());
    ASSERT_TRUE(dialog.Connect("127.0.0.1", QString::number(emulator->Port(kFourB)), "TCP", "GUEST0", "5829"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return viewer.Sessions().Has(0) && viewer.Sessions().At(0).record.listed && viewer.CurrentLive(); },
        kWaitMs));
    EXPECT_FALSE(setup->isEnabled());
}
