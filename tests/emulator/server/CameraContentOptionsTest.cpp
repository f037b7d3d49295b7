#include "EmulatorOptions.h"

#include <gtest/gtest.h>

using emulator::ParseEmulatorOptions;

TEST(CameraContentOption, IsPerRecorderAndPlainByDefault)
{
    std::string error;
    const auto o = ParseEmulatorOptions({"--camera-content", "hard", "--listen", "7001", "--data", "/tmp/a", "--listen",
                                         "7002", "--data", "/tmp/b", "--camera-content", "plain", "--listen", "7003",
                                         "--data", "/tmp/c"},
                                        &error);
    ASSERT_TRUE(o) << error;
    ASSERT_EQ(o->recorders.size(), 3u);
    EXPECT_EQ(o->recorders[0].cameraContent, emulator::media::CameraContent::Hard);
    EXPECT_EQ(o->recorders[1].cameraContent, emulator::media::CameraContent::Plain);
    EXPECT_EQ(o->recorders[2].cameraContent, emulator::media::CameraContent::Hard);
    const auto plain = ParseEmulatorOptions({}, &error);
    ASSERT_TRUE(plain) << error;
    EXPECT_EQ(plain->recorders.at(0).cameraContent, emulator::media::CameraContent::Plain);
    for (const auto& bad : std::vector<std::vector<std::string>>{{"--camera-content"}, {"--camera-content", "Hard"},
                                                                  {"--camera-content", "noisy"}}) {
        error.clear();
        EXPECT_FALSE(ParseEmulatorOptions(bad, &error)) << bad.back();
        EXPECT_NE(error.find("--camera-content"), std::string::npos) << error;
    }
}
