#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Windows in tests are real but offscreen unless a display is given.
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
