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
    TempDir folder;
    const std::string dir = folder.path();
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

    // With no room at all only what is in use stays.
    cache.Prune(0, {dir + "/loop-0000000000000002.bin"});
    EXPECT_TRUE(fs::exists(dir + "/loop-0000000000000002.bin"));
    EXPECT_FALSE(fs::exists(dir + "/loop-0000000000000004.bin"));
    cache.Prune(0, {});
    EXPECT_FALSE(fs::exists(dir + "/loop-0000000000000002.bin"));
}

TEST(LoopCache, MissingFolderOrFileIsNoLoop)
{
    emulator::media::LoopCache cache("/nonexistent-ombrel-folder");
    EXPECT_FALSE(cache.Load("anything"));
    cache.Prune(0, {});
    std::string error;
    TempDir folder;
    emulator::media::LoopCache fresh(folder.path() + "/a/b");
    EXPECT_TRUE(fresh.Prepare(&error)) << error;
    EXPECT_TRUE(fs::is_directory(folder.path() + "/a/b"));
    EXPECT_FALSE(fresh.Load("anything"));
}

}  // namespace
