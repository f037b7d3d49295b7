// Starts the real viewer program and checks what a user would see at start.
#include "core/config/RegConfig.h"
#include "core/config/RegistryBackend.h"
#include "platform/registry/SqliteRegistry.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

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
