#include "core/config/RegConfig.h"
#include "core/dvr/LogEventText.h"
#include "core/dvr/NotifyCodes.h"
#include "core/dvr/RecordingProfile.h"
#include "core/servers/ServerRecord.h"
#include "platform/registry/SqliteRegistry.h"
#include "support/QtTestApp.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"
#include "support/processes/EmulatorProcess.h"
#include "ui/app/COrlixDlg.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/controls/CtrlId.h"
#include "ui/status/CLogCalendar.h"
#include "ui/status/CLogViewDlg.h"
#include "ui/status/LogViewerLink.h"
#include "ui/video/CUserViewDlg.h"
#include "ui/viewer/LiveViewer.h"

#include <QDate>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr int kWaitMs = 20000;

enum Recorder : std::size_t { kPlain, kRefusingLog, kRecorderCount };

EmulatorProcess* Emulator(std::string* error)
{
    static std::unique_ptr<EmulatorProcess> emulator;
    static std::string startError;
    if (!emulator && startError.empty()) {
        std::vector<EmulatorProcess::Recorder> recorders(kRecorderCount, {"MODEL_B", {"--loop-seconds", "1"}});
        // A short poll timeout shows at once whether polling resumed after a refusal.
        recorders[kRefusingLog].extraOptions.insert(recorders[kRefusingLog].extraOptions.end(),
                                                    {"--refuse-op", "log", "--poll-timeout", "2"});
        auto started = std::make_unique<EmulatorProcess>();
        if (started->Start(recorders, {"--discovery-port", "0"}))
            emulator = std::move(started);
        else
            startError = started->Error();
    }
    *error = startError;
    return emulator.get();
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class LogViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureQApplication();
        std::string error;
        emulator = Emulator(&error);
        ASSERT_TRUE(emulator) << error;
        fs::create_directory(fs::path(dir.path()) / "c");
        auto store = OpenRegistryAt(dir / "registry.db");
        ASSERT_TRUE(store.backend) << store.error;
        SetRegistryBackend(store.backend);
        ClearShownMessages();
        window = std::make_unique<COrlixDlg>();
    }
    void TearDown() override
    {
        window.reset();
        SetRegistryBackend(nullptr);
    }

    bool ConnectTo(Recorder recorder)
    {
        if (!window->Connect("127.0.0.1", QString::number(emulator->Port(recorder)), "TCP", "ADMIN", "5829"))
            return false;
        const int index = window->Viewer().Sessions().Count() - 1;
        return QTest::qWaitFor(
            [&] {
                const auto& sessions = window->Viewer().Sessions();
                return sessions.Has(index) && sessions.At(index).record.hasSettings
                    && sessions.At(index).record.listed;
            },
            kWaitMs);
    }

    std::vector<std::string> Dvrctl(Recorder recorder, std::vector<std::string> args)
    {
        std::vector<std::string> all = {"--host",    "127.0.0.1", "--port",   std::to_string(emulator->Port(recorder)),
                                        "--account", "ADMIN",     "--password", "5829"};
        all.insert(all.end(), args.begin(), args.end());
        const ProgramResult result = RunProgram(std::string(OMBREL_BIN_DIR) + "/dvrctl", all, {});
        EXPECT_EQ(result.status, 0) << result.err;
        std::vector<std::string> lines;
        std::istringstream out(result.out);
        for (std::string line; std::getline(out, line);)
            lines.push_back(line);
        return lines;
    }

    // The recording days the recorder reports for a month.
    std::uint32_t RecorderDays(const QDate& month)
    {
        std::uint32_t mask = 0;
        for (const std::string& line : Dvrctl(kPlain, {"days", month.toString("yyyy-MM").toStdString()})) {
            const int day = std::stoi(line);
            if (day >= 1 && day <= 31)
                mask |= 1u << (day - 1);
        }
        return mask;
    }

    CLogViewDlg& Dialog() { return *window->LogViewer(); }

    // The chain has fetched what the shown month and picked day call for.
    bool WaitSettled()
    {
        return QTest::qWaitFor(
            [&] {
                const LogViewerLink& link = *window->LogLink();
                return link.Chain().MonthlyDone() && link.Chain().DailyDone() && !link.Chain().LogTransferRunning()
                    && !link.Decoding();
            },
            kWaitMs);
    }

    QString DailyProfile() const { return QString::fromStdString((fs::path(dir.path()) / "c" / "daily.pro").string()); }

    fs::path LogFolder() const { return fs::path(dir.path()) / "c" / "DVR" / "Remote" / "LogFile"; }
    std::vector<fs::path> LogFiles() const
    {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(LogFolder()))
            files.push_back(entry.path());
        return files;
    }

    void Pick(const QDate& day)
    {
        Dialog().Calendar()->setSelectedDate(day);
        emit Dialog().Calendar()->clicked(day);
    }

    TempDir dir;
    ScopedEnv driveC{"DVR_DRIVE_C", dir / "c"};
    EmulatorProcess* emulator = nullptr;
    std::unique_ptr<COrlixDlg> window;
};

TEST_F(LogViewerTest, TheUserViewPanelsLogButtonOpensTheViewer)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->Viewer().UserView()->Button(CUserViewDlg::kLogViewer)->click();
    ASSERT_NE(window->LogViewer(), nullptr);
    EXPECT_TRUE(Dialog().isVisible());
}

TEST_F(LogViewerTest, CtrlLOpensTheViewerWithoutASessionAndOpenFileStillWorks)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
    ASSERT_NE(window->LogViewer(), nullptr);
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_EQ(Dialog().windowTitle(), "Log Viewer");
    EXPECT_EQ(Dialog().Calendar()->Marks(), 0u);
    EXPECT_FALSE(FindCtrl<QPushButton>(&Dialog(), 1203)->isVisible());
    EXPECT_TRUE(FindCtrl<QPushButton>(&Dialog(), 1209)->isVisible());

    // A name without a date: the file's own date, and the status says so.
    const fs::path saved = fs::path(dir.path()) / "events.log";
    const auto bytes = EncodeLogFile(std::vector<DvrLogRecord>{MakeLogRecord(kLogSetup, 9, 0, 0),
                                                               MakeLogRecord(kLogSetSave, 9, 1, 0),
                                                               MakeLogRecord(kLogSetupExit, 9, 2, 0)});
    std::ofstream(saved, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 40);
    Dialog().SetOpenFilePicker([&] { return QString::fromStdString(saved.string()); });
    FindCtrl<QPushButton>(&Dialog(), CLogViewDlg::kOpenFile)->click();
    ASSERT_EQ(Dialog().Entries().size(), 2u);
    EXPECT_TRUE(Dialog().StatusText().contains("modification")) << Dialog().StatusText().toStdString();
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    EXPECT_TRUE(QString::fromStdString(Dialog().Entries()[0].dateTime).startsWith(today));

    // Every button is checked after a file is listed, so the first click on
    // SETUP turns it off with the rest; the second lists 71 and 73 but not 72.
    FindCtrl<QPushButton>(&Dialog(), 1207)->click();
    EXPECT_TRUE(Dialog().ListedEntries().empty());
    FindCtrl<QPushButton>(&Dialog(), 1207)->click();
    EXPECT_TRUE(FindCtrl<QPushButton>(&Dialog(), 1207)->isChecked());
    EXPECT_FALSE(FindCtrl<QPushButton>(&Dialog(), 1209)->isChecked());
    ASSERT_EQ(Dialog().ListedEntries().size(), 1u);
    const fs::path csv = fs::path(dir.path()) / "setup.csv";
    Dialog().SetSaveFilePicker([&] { return QString::fromStdString(csv.string()); });
    FindCtrl<QPushButton>(&Dialog(), CLogViewDlg::kSaveCsv)->click();
    EXPECT_EQ(ReadFile(csv), "Date & Time,Description\r\n" + today.toStdString() + "     09:00:00,Setup\r\n");
    EXPECT_TRUE(Dialog().StatusText().startsWith("Saved 1 entries"));
    FindCtrl<QPushButton>(&Dialog(), 1207)->click();
    EXPECT_TRUE(Dialog().ListedEntries().empty());
}

TEST_F(LogViewerTest, ALogInFetchesTheMonthAndOpeningTheViewerShowsItWithoutAskingAgain)
{
    int monthAnswers = 0;
    QObject::connect(&window->Viewer(), &LiveViewer::notified, window.get(), [&](unsigned, int code) {
        monthAnswers += code == kNotifyMonthProfileReady;
    });
    ASSERT_TRUE(ConnectTo(kPlain));
    // Today always has recordings: the chain runs on to today's log.
    ASSERT_TRUE(WaitSettled());
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_EQ(monthAnswers, 1);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(Dialog().Calendar()->selectedDate(), today);
    EXPECT_EQ(Dialog().Calendar()->Marks(), RecorderDays(today));
    const QString listed = "Log of " + today.toString("yyyy-MM-dd");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dialog().StatusText().startsWith(listed); }, kWaitMs))
        << Dialog().StatusText().toStdString();
    const auto entries = Dialog().Entries().size();

    window->OpenLogViewer();
    EXPECT_TRUE(Dialog().isVisible());
    // Timer 260 would have asked within a second.
    QTest::qWait(2500);
    EXPECT_EQ(monthAnswers, 1);
    EXPECT_EQ(Dialog().Calendar()->Marks(), RecorderDays(today));
    EXPECT_EQ(Dialog().Entries().size(), entries);
    EXPECT_TRUE(Dialog().StatusText().startsWith(listed)) << Dialog().StatusText().toStdString();
}

TEST_F(LogViewerTest, MarksAreTheRecordersDaysAndAPickedDayBringsItsLog)
{
    // A name that could not stand in a file name as it is.
    {
        CRegConfig reg;
        ServerRecord record{"Yard/East:2", "127.0.0.1", emulator->Port(kPlain), "ADMIN", "5829", "", "TCP", ""};
        ASSERT_TRUE(ServerDirectory(reg).Write(record));
    }
    ASSERT_TRUE(ConnectTo(kPlain));
    // The log-in's own chain (today's month) ends before another month is shown.
    ASSERT_TRUE(WaitSettled());
    window->OpenLogViewer();
    // Last month is past entirely, so its logs no longer change.
    const QDate lastMonth = QDate::currentDate().addMonths(-1);
    const std::uint32_t days = RecorderDays(lastMonth);
    ASSERT_NE(days, 0u);
    const auto recording = MonthMaskDays(days, lastMonth.daysInMonth());
    int without = 0;
    for (int d = 1; d <= lastMonth.daysInMonth() && !without; ++d)
        if (!MonthMaskHasDay(days, d))
            without = d;

    Dialog().Calendar()->setCurrentPage(lastMonth.year(), lastMonth.month());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dialog().Calendar()->Marks() != 0; }, kWaitMs));
    EXPECT_EQ(Dialog().Calendar()->Marks(), days);
    ASSERT_TRUE(WaitSettled());

    const QDate day(lastMonth.year(), lastMonth.month(), recording.back());
    const fs::path expectedLog = LogFolder() / ("LOG_Yard-East-2_" + day.toString("yyyy_MM_dd").toStdString() + ".log");
    Pick(day);
    const QString done = "Log of " + day.toString("yyyy-MM-dd");
    ASSERT_TRUE(WaitSettled());
    ASSERT_TRUE(Dialog().StatusText().startsWith(done)) << Dialog().StatusText().toStdString();
    ASSERT_TRUE(fs::exists(expectedLog)) << expectedLog;
    const fs::path reference = fs::path(dir.path()) / "reference.log";
    Dvrctl(kPlain, {"log", day.toString("yyyy-MM-dd").toStdString(), reference.string()});
    EXPECT_EQ(ReadFile(expectedLog), ReadFile(reference));
    EXPECT_EQ(Dialog().Entries().size(), ReadFile(reference).size() / kLogRecordSize);
    EXPECT_TRUE(QFile::exists(DailyProfile()));
    EXPECT_TRUE(FindCtrl<QPushButton>(&Dialog(), 1209)->isChecked());

    // A day without recordings fetches nothing.
    if (without) {
        const auto before = LogFiles().size();
        QFile::remove(DailyProfile());
        Pick(QDate(lastMonth.year(), lastMonth.month(), without));
        QTest::qWait(2500);
        EXPECT_EQ(LogFiles().size(), before);
        EXPECT_FALSE(QFile::exists(DailyProfile()));
    }
}

TEST_F(LogViewerTest, AMonthWithoutRecordingsFetchesNothingAndARepeated124MarksOnce)
{
    ASSERT_TRUE(ConnectTo(kPlain));
    window->OpenLogViewer();
    // The recorder's history does not reach back three years.
    const QDate old = QDate::currentDate().addYears(-3);
    ASSERT_EQ(RecorderDays(old), 0u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dialog().Calendar()->Marks() != 0; }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dialog().StatusText().startsWith("Log of"); }, kWaitMs))
        << Dialog().StatusText().toStdString();
    const std::uint32_t thisMonth = Dialog().Calendar()->Marks();

    // The same answer again changes nothing: no second daily profile, no log.
    const unsigned session = window->Viewer().Sessions().At(0).session.SessionId();
    QFile::remove(DailyProfile());
    const auto logs = LogFiles().size();
    emit window->Viewer().notified(session, kNotifyMonthProfileReady);
    emit window->Viewer().notified(session, kNotifyMonthProfileReady);
    QTest::qWait(500);
    EXPECT_EQ(Dialog().Calendar()->Marks(), thisMonth);
    EXPECT_FALSE(QFile::exists(DailyProfile()));

    Dialog().Calendar()->setCurrentPage(old.year(), old.month());
    EXPECT_EQ(Dialog().Calendar()->Marks(), 0u);
    EXPECT_TRUE(Dialog().Entries().empty());
    // Timer 260 asks a second later; give the answer time to arrive.
    QTest::qWait(3000);
    EXPECT_EQ(Dialog().Calendar()->Marks(), 0u);
    EXPECT_FALSE(QFile::exists(DailyProfile()));
    EXPECT_EQ(LogFiles().size(), logs);
}

TEST_F(LogViewerTest, ARefusedLogIsNotFoundAndPollingGoesOn)
{
    ASSERT_TRUE(ConnectTo(kRefusingLog));
    window->OpenLogViewer();
    // Today always has recordings, so the chain asks for today's log.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dialog().StatusText() == "Not Found Log File!"; }, kWaitMs))
        << Dialog().StatusText().toStdString();
    bool told = false;
    for (const ShownMessage& shown : ShownMessages())
        told |= shown.text == "Not Found Log File!" && shown.caption == "DVR" && shown.icon == QMessageBox::Information;
    EXPECT_TRUE(told);
    EXPECT_TRUE(LogFiles().empty());
    // The recorder drops a session silent for two seconds.
    QTest::qWait(4000);
    ASSERT_EQ(window->Viewer().Sessions().Count(), 1);
    EXPECT_FALSE(window->Viewer().Sessions().At(0).record.statusLines.isEmpty());
    EXPECT_TRUE(window->Viewer().Sessions().At(0).record.listed);
}

} // namespace
