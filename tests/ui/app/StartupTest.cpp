// Starts the real viewer program and checks what a user would see at start.
#include "core/config/RegConfig.h"
#include "core/config/RegistryBackend.h"
#include "platform/registry/SqliteRegistry.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"
#include "support/processes/ChildProcess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// An install folder holding the viewer and only the given language packs.
std::string makeInstallFolder(const TempDir& dir, std::initializer_list<const char*> packs)
{
    std::string install = dir / "install";
    fs::create_directory(install);
    fs::copy_file(std::string(OMBREL_BIN_DIR) + "/Ombrel", install + "/Ombrel");
    for (const char* pack : packs)
        fs::copy_file(std::string(OMBREL_BIN_DIR) + "/" + pack, install + "/" + pack);
    return install;
}

void setLanguage(const std::string& registryPath, int language)
{
    auto store = OpenRegistryAt(registryPath);
    ASSERT_TRUE(store.backend) << store.error;
    SetRegistryBackend(store.backend);
    CRegConfig reg;
    ASSERT_TRUE(reg.SetKey("Software\\DVR\\", true));
    ASSERT_TRUE(reg.WriteInt("Language", language));
    SetRegistryBackend(nullptr);
}

std::vector<std::string> environmentFor(const TempDir& dir)
{
    return {"DVR_REGISTRY=" + (dir / "registry.db"), "DVR_DRIVE_C=" + (dir / "c"), "QT_QPA_PLATFORM=offscreen",
            "OMBREL_EXIT_AFTER_MS=300"};
}

} // namespace

TEST(Startup, MissingLanguagePackEndsTheProgramWithItsNameAndNoWindow)
{
    TempDir dir;
    fs::create_directory(dir / "c");
    std::string install = makeInstallFolder(dir, {"ResEn.dll"});
    setLanguage(dir / "registry.db", 1);

    auto env = environmentFor(dir);
    env.push_back("OMBREL_SCREENSHOT=" + (dir / "shot.png"));
    ProgramResult run = RunProgram(install + "/Ombrel", {}, env);

    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Language Pack not Found (ResCh.dll)"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir / "shot.png")) << "no main window may be shown";
}

TEST(Startup, FirstStartCreatesTheTreeAndTheFoldersAndAnUnknownLanguageLoadsEnglishAndIsKept)
{
    TempDir dir;
    fs::create_directory(dir / "c");
    std::string install = makeInstallFolder(dir, {"ResEn.dll"});
    auto readDvrInt = [&](const char* name) {
        auto store = OpenRegistryAt(dir / "registry.db");
        SetRegistryBackend(store.backend);
        CRegConfig reg;
        reg.SetKey("Software\\DVR\\", false);
        const bool binary = reg.GetDataType(name) == REG_BINARY;
        const int value = reg.ReadInt(name, -1);
        SetRegistryBackend(nullptr);
        return binary ? value : -2;
    };

    ProgramResult run = RunProgram(install + "/Ombrel", {}, environmentFor(dir));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readDvrInt("Language"), 0);
    EXPECT_EQ(readDvrInt("Boot"), 0);
    for (const char* folder : {"DVR/Live/Capture", "DVR/Remote/Capture", "DVR/Remote/Panorama",
                               "DVR/Remote/MediaFile", "DVR/Remote/LogFile"})
        EXPECT_TRUE(fs::is_directory(dir / (std::string("c/") + folder))) << folder;

    // Only the English pack is installed: index 7 falls back to it and stays stored.
    setLanguage(dir / "registry.db", 7);
    run = RunProgram(install + "/Ombrel", {}, environmentFor(dir));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readDvrInt("Language"), 7);
}

TEST(Startup, DamagedSettingsDatabaseIsMovedAsideAndTheUserIsTold)
{
    TempDir dir;
    fs::create_directory(dir / "c");
    std::string install = makeInstallFolder(dir, {"ResEn.dll"});
    {
        std::ofstream bad(dir / "registry.db", std::ios::binary);
        bad << std::string(8192, '\x5a');
    }

    ProgramResult run = RunProgram(install + "/Ombrel", {}, environmentFor(dir));
    ASSERT_EQ(run.status, 0) << run.err;

    int movedAside = 0;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        if (entry.path().filename().string().rfind("registry.db.", 0) == 0 &&
            entry.path().filename().string().find("-wal") == std::string::npos &&
            entry.path().filename().string().find("-shm") == std::string::npos) {
            ++movedAside;
            EXPECT_EQ(fs::file_size(entry.path()), 8192u) << "the damaged file is kept as it was";
            EXPECT_NE(run.err.find(entry.path().string()), std::string::npos) << run.err;
        }
    EXPECT_EQ(movedAside, 1);
}

TEST(Startup, SigtermClosesTheSessionsWithAByeAndEndsTheProgramAsTheCloseButtonDoes)
{
    TempDir dir;
    fs::create_directory(dir / "c");
    std::string install = makeInstallFolder(dir, {"ResEn.dll"});
    const char* tmp = std::getenv("TMPDIR");
    ChildProcess recorder;
    std::string error;
    // Its messages in its log: a session the viewer closes says "client said bye" there.
    ASSERT_TRUE(recorder.Start({std::string(OMBREL_BIN_DIR) + "/dvr-emulator", "--cache",
                                std::string(tmp ? tmp : "/tmp") + "/ombrel-test-media-cache", "--listen",
                                "127.0.0.1:0", "--model", "MODEL_C", "--data", dir / "recorder"},
                               dir / "recorder.log", true, &error))
        << error;
    ASSERT_TRUE(recorder.WaitForOutput([](const std::string& seen) { return ListeningPort(seen) != 0; },
                                       std::chrono::seconds(300)));

    ScopedEnv registry("DVR_REGISTRY", dir / "registry.db");
    ScopedEnv driveC("DVR_DRIVE_C", dir / "c");
    ScopedEnv offscreen("QT_QPA_PLATFORM", "offscreen");
    ScopedEnv connect("OMBREL_CONNECT",
                      "127.0.0.1:" + std::to_string(ListeningPort(recorder.Output())) + ":TCP:ADMIN:5829");
    ChildProcess viewer;
    ASSERT_TRUE(viewer.Start({install + "/Ombrel"}, dir / "viewer.log", true, &error)) << error;
    // Logged in once the event log says so.
    const auto loggedOn = [&] {
        if (!fs::is_directory(dir / "c/DVR/Log"))
            return false;
        for (const auto& file : fs::directory_iterator(dir / "c/DVR/Log")) {
            std::ifstream in(file.path());
            if (std::string(std::istreambuf_iterator<char>(in), {}).find("Log on as Administrator") != std::string::npos)
                return true;
        }
        return false;
    };
    ASSERT_TRUE(viewer.WaitForOutput([&](const std::string&) { return loggedOn(); }, std::chrono::seconds(30)))
        << viewer.Output();

    // SIGTERM, then SIGKILL after 10 s: -1 unless it ended by itself with a status.
    EXPECT_EQ(viewer.Stop(), 0) << viewer.Output();
    EXPECT_TRUE(recorder.WaitForOutput(
        [](const std::string& seen) { return seen.find("client said bye") != std::string::npos; },
        std::chrono::seconds(5)))
        << recorder.Output();
}
