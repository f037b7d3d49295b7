#include "platform/app/ProgramLauncher.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

TEST(ProgramLauncher, StartsProgramInTheGivenFolder)
{
    TempDir dir;
    std::string script = dir / "probe.sh";
    std::ofstream(script) << "#!/bin/sh\npwd > " << (dir / "out.txt") << ".tmp\nmv " << (dir / "out.txt")
                          << ".tmp " << (dir / "out.txt") << "\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    std::filesystem::create_directory(dir / "work");

    std::string error;
    ASSERT_TRUE(LaunchDetached(script, dir / "work", &error)) << error;

    for (int i = 0; i < 200 && !std::filesystem::exists(dir / "out.txt"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(dir / "out.txt");
    std::string folder;
    std::getline(in, folder);
    EXPECT_EQ(folder, dir / "work");
}

TEST(ProgramLauncher, MissingProgramOrFolderFailsWithAReason)
{
    TempDir dir;
    std::string error;
    EXPECT_FALSE(LaunchDetached("Tessiv-not-installed", dir.path(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(LaunchDetached("true", dir / "no-such-folder", &error));
    EXPECT_FALSE(LaunchDetached("   ", dir.path(), &error));
}
