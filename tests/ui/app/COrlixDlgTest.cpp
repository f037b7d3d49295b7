#include "core/config/RegConfig.h"
#include "core/config/RegistryBackend.h"
#include "platform/registry/SqliteRegistry.h"
#include "support/QtTestApp.h"
#include "support/TempDir.h"
#include "ui/app/AppFonts.h"
#include "ui/app/COrlixApp.h"
#include "ui/app/COrlixDlg.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CtrlId.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureQApplication();
        fs::create_directory(m_dir / "c");
        auto store = OpenRegistryAt(m_dir / "registry.db");
        ASSERT_TRUE(store.backend) << store.error;
        SetRegistryBackend(store.backend);
        ClearShownMessages();
    }
    void TearDown() override { SetRegistryBackend(nullptr); }

    int readBoot()
    {
        CRegConfig reg;
        reg.SetKey("Software\\DVR\\", false);
        return reg.ReadInt("Boot", -1);
    }

    TempDir m_dir;
    ScopedEnv m_driveC {"DVR_DRIVE_C", m_dir / "c"};
};

} // namespace

TEST_F(MainWindowTest, StartsWithCaptionAndBootClearedAndOnlyExplicitButtonsClose)
{
    {
        CRegConfig reg;
        reg.SetKey("Software\\DVR\\", true);
        reg.WriteInt("Boot", 1);
    }
    COrlixDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "DVR Ombrel");
    EXPECT_EQ(readBoot(), 0);
    ASSERT_FALSE(dialog.StatusLines().isEmpty());
    EXPECT_EQ(dialog.StatusLines().front(), "Start Event Log...");

    dialog.show();
    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(&dialog, static_cast<Qt::Key>(key));
    EXPECT_TRUE(dialog.isVisible());

    auto* close = FindCtrl<QPushButton>(&dialog, 1000);
    ASSERT_NE(close, nullptr);
    close->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(MainWindowTest, FailedLaunchSaysSoAndKeepsTheWindowOpen)
{
    COrlixDlg dialog;
    dialog.show();
    EXPECT_FALSE(dialog.LaunchProgram("Tessiv"));
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(ShownMessages().size(), 1u);
    EXPECT_EQ(ShownMessages()[0].text, "Cannot launch Tessiv !");
    EXPECT_EQ(ShownMessages()[0].caption, "DVR");
    EXPECT_EQ(ShownMessages()[0].icon, QMessageBox::Critical);
}

TEST_F(MainWindowTest, RemotePlaybackButtonHandsOverAfterItsTimer)
{
    COrlixDlg dialog;
    dialog.show();
    FindCtrl<QPushButton>(&dialog, 201)->click();
    EXPECT_TRUE(ShownMessages().empty()) << "the hand-over waits for timer 130";
    QTRY_COMPARE_WITH_TIMEOUT(ShownMessages().size(), size_t(1), 2000);
    EXPECT_EQ(ShownMessages()[0].text, "Cannot launch Tessiv !");
}

TEST_F(MainWindowTest, RestartMarksBootAndStartsTheViewerAgain)
{
    COrlixDlg dialog;
    dialog.show();
    dialog.RestartForNewLanguage();
    EXPECT_EQ(readBoot(), 1);
    // The test program's folder holds a real Ombrel, so the restart succeeds
    // and closes this window. The new copy runs offscreen and is told to end.
    ScopedEnv exitSoon("OMBREL_EXIT_AFTER_MS", "200");
    ScopedEnv registry("DVR_REGISTRY", m_dir / "restart-registry.db");
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 3000);
    EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(MainWindowTest, EventLogFailureBecomesAStatusLine)
{
    COrlixDlg dialog;
    fs::create_directories(m_dir / "c/DVR");
    std::ofstream(m_dir / "c/DVR/Log") << "a file where the folder should be";
    dialog.WriteEventLog("Log on as Administrator");
    EXPECT_EQ(dialog.StatusLines().back(), "LogFile Write Error!");
}

TEST(AppFonts, JapanesePackUsesTheSystemMessageFont)
{
    EnsureQApplication();
    AppFonts::Create("ResJp.dll");
    EXPECT_EQ(AppFonts::Large().family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    AppFonts::Create("ResEn.dll");
    EXPECT_EQ(AppFonts::Large().family(), "Arial");
}

TEST(LanguagePackLoading, MissingPackIsReportedByName)
{
    EnsureQApplication();
    ClearShownMessages();
    EXPECT_FALSE(COrlixApp::LoadLanguagePack("ResXx.dll"));
    ASSERT_EQ(ShownMessages().size(), 1u);
    EXPECT_EQ(ShownMessages()[0].text, "Language Pack not Found (ResXx.dll)");
}
