#include "SettingsStore.h"
#include "support/TempDir.h"

#include "core/dvr/DvrModel.h"
#include "core/dvr/SettingsBlock.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace emulator;

namespace {

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

size_t FilesIn(const std::string& folder)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

}  // namespace

TEST(SettingsStore, FirstRunWritesTheModelDefaultsWithItsOwnPortAndMac)
{
    TempDir tmp;
    const std::string data = tmp.path() + "/rec";
    std::string error;
    auto store = SettingsStore::Open(data, 6, 7123, &error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(DvrTypeCode(store->Block()), 6);
    EXPECT_EQ(NetworkPort(store->Block()), 7123);
    EXPECT_EQ(AccountPassword(store->Block(), "ADMIN"), "5829");
    EXPECT_EQ(FileBytes(data + "/settings.bin"), SettingsBlockBytes(store->Block()));
    const uint8_t* mac = store->Block().network.macAddress;
    EXPECT_EQ(mac[4], 7123 >> 8);
    EXPECT_EQ(mac[5], 7123 & 0xFF);

    // The second run reads what the first left, byte for byte.
    auto again = SettingsStore::Open(data, 6, 9999, &error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(SettingsBlockBytes(again->Block()), SettingsBlockBytes(store->Block()));
}

TEST(SettingsStore, AcceptedWritesPersistAndLeaveNoTemporaryFiles)
{
    TempDir tmp;
    std::string error;
    auto store = SettingsStore::Open(tmp.path(), 3, 7050, &error);
    ASSERT_TRUE(store) << error;
    ZERD_INFO_BLK edited = store->Block();
    SetAccountPassword(edited, "GUEST0", "1234");
    edited.system.dvrTypeCode = 1;  // read-only: the recorder keeps its type
    const auto section = ExtractSection(edited, kSectionSystem);
    EXPECT_EQ(store->WriteSection(kSectionSystem, section.data(), section.size(), &error), wire::WriteReason::Ok);
    EXPECT_EQ(AccountPassword(store->Block(), "GUEST0"), "1234");
    EXPECT_EQ(DvrTypeCode(store->Block()), 3);
    EXPECT_EQ(FilesIn(tmp.path()), 1u);

    auto reopened = SettingsStore::Open(tmp.path(), 3, 7050, &error);
    ASSERT_TRUE(reopened) << error;
    EXPECT_EQ(AccountPassword(reopened->Block(), "GUEST0"), "1234");
}

TEST(SettingsStore, RefusedOrFailedWritesChangeNeitherMemoryNorFile)
{
    TempDir tmp;
    const std::string data = tmp.path() + "/rec";
    std::string error;
    auto store = SettingsStore::Open(data, 2, 7050, &error);
    ASSERT_TRUE(store) << error;
    const auto before = FileBytes(store->Path());

    auto schedule = ExtractSection(store->Block(), kSectionSchedule);
    schedule[100] = 5;
    EXPECT_EQ(store->WriteSection(kSectionSchedule, schedule.data(), schedule.size(), &error),
              wire::WriteReason::OutOfRange);
    const auto system = ExtractSection(store->Block(), kSectionSystem);
    EXPECT_EQ(store->WriteSection(kSectionSystem, system.data(), system.size() - 1, &error),
              wire::WriteReason::BadLength);
    EXPECT_EQ(store->WriteSection(6, system.data(), system.size(), &error), wire::WriteReason::BadSection);
    EXPECT_EQ(FileBytes(store->Path()), before);
    EXPECT_EQ(SettingsBlockBytes(store->Block()), before);

    // The disk goes away under the recorder: the write fails and memory keeps the old block.
    std::filesystem::remove_all(data);
    ZERD_INFO_BLK edited = store->Block();
    SetCameraName(edited, 0, "DOOR");
    const auto camera = ExtractSection(edited, kSectionCamera);
    EXPECT_EQ(store->WriteSection(kSectionCamera, camera.data(), camera.size(), &error),
              wire::WriteReason::StorageFailure);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(SettingsBlockBytes(store->Block()), before);
}

TEST(SettingsStore, ABadFileIsReportedAndLeftAlone)
{
    TempDir tmp;
    const std::string path = tmp.path() + "/settings.bin";
    {
        std::ofstream out(path, std::ios::binary);
        out << "not a settings block";
    }
    std::string error;
    EXPECT_FALSE(SettingsStore::Open(tmp.path(), 3, 7050, &error));
    EXPECT_NE(error.find("settings.bin"), std::string::npos);
    EXPECT_EQ(FileBytes(path).size(), 20u);

    // A block of another model is not silently taken over either.
    TempDir other;
    ASSERT_TRUE(SettingsStore::Open(other.path(), 1, 7050, &error));
    EXPECT_FALSE(SettingsStore::Open(other.path(), 3, 7050, &error));
    EXPECT_NE(error.find("type 1"), std::string::npos);
}
