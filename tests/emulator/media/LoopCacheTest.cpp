#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "emulator/media/MediaTestSupport.h"
#include "media/LoopCache.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const std::string& path, size_t size, std::chrono::minutes age)
{
    std::ofstream(path, std::ios::binary) << std::string(size, 'x');
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

TEST(LoopCache, PruneDropsTheOldestViewsAndAbandonedTemporaries)
{
    mediatest::TempFolder folder;
    const std::string dir = folder.Path();
    WriteFile(dir + "/loop-0000000000000001.bin", 1000, std::chrono::minutes(50));  // oldest
    WriteFile(dir + "/loop-0000000000000002.bin", 1000, std::chrono::minutes(40));  // in use
    WriteFile(dir + "/loop-0000000000000003.bin", 1000, std::chrono::minutes(30));
    WriteFile(dir + "/loop-0000000000000004.bin", 1000, std::chrono::minutes(20));
    WriteFile(dir + "/loop-0000000000000005.bin.tmp77-1", 1000, std::chrono::minutes(60));  // abandoned
    WriteFile(dir + "/loop-0000000000000006.bin.tmp77-2", 1000, std::chrono::minutes(1));   // being written
    WriteFile(dir + "/notes.txt", 5000, std::chrono::minutes(90));                          // not ours

    emulator::media::LoopCache cache(dir);
    cache.Prune(2500, {dir + "/loop-0000000000000002.bin"});

    EXPECT_FALSE(fs::exists(dir + "/loop-0000000000000001.bin"));
    EXPECT_TRUE(fs::exists(dir + "/loop-0000000000000002.bin"));
    EXPECT_FALSE(fs::exists(dir + "/loop-0000000000000003.bin"));
    EXPECT_TRUE(fs::exists(dir + "/loop-0000000000000004.bin"));
    EXPECT_FALSE(fs::exists(dir + "/loop-0000000000000005.bin.tmp77-1"));
    EXPECT_TRUE(fs::exists(dir + "/loop-0000000000000006.bin.tmp77-2"));
    EXPECT_TRUE(fs::exists(dir + "/notes.txt"));
}

TEST(LoopCache, PruneNeverRemovesWhatIsInUse)
{
    mediatest::TempFolder folder;
    const std::string dir = folder.Path();
    WriteFile(dir + "/loop-00000000000000aa.bin", 4000, std::chrono::minutes(5));
    emulator::media::LoopCache cache(dir);
    cache.Prune(0, {dir + "/loop-00000000000000aa.bin"});
    EXPECT_TRUE(fs::exists(dir + "/loop-00000000000000aa.bin"));
    cache.Prune(0, {});
    EXPECT_FALSE(fs::exists(dir + "/loop-00000000000000aa.bin"));
}

TEST(LoopCache, MissingFolderOrFileIsNoLoop)
{
    emulator::media::LoopCache cache("/nonexistent-ombrel-folder");
    EXPECT_FALSE(cache.Load("anything"));
    cache.Prune(0, {});
    std::string error;
    mediatest::TempFolder folder;
    emulator::media::LoopCache fresh(folder.Path() + "/a/b");
    EXPECT_TRUE(fresh.Prepare(&error)) << error;
    EXPECT_TRUE(fs::is_directory(folder.Path() + "/a/b"));
    EXPECT_FALSE(fresh.Load("anything"));
}

}  // namespace
