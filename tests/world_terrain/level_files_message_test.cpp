#include <gtest/gtest.h>

#include <array>

#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "render/font.h"
#include "screens/level_files_message.h"
#include "world/level_file.h"

namespace halvane {
namespace {

bool TopLeftHasText() {
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 300; ++x)
            if (ReadPixel(x, y) > 0) return true;
    return false;
}

class LevelFilesMessage : public ::testing::Test {
  protected:
    void SetUp() override {
        OpenOffscreenPages(32);
        ASSERT_TRUE(LoadFont(HALVANE_SOURCE_DIR "/Graphics/zqfont.fnt", GameFont, 1));
        HeadlessSetClock(10);
        enter.keys[kKeyEnter] = true;
    }
    InputState enter;
    InputState none;
};

TEST_F(LevelFilesMessage, WaitsForTheLaunchKeyToGoUpThenForAFreshConfirm) {
    // Enter of LAUNCH still held, then released, then pressed again.
    const std::array<ScriptStep, 4> script{{{0, enter}, {10.2, none}, {10.8, enter}, {10.9, none}}};
    UseScript(script);
    RandomTerrain = 1;
    ShowLevelFilesMessage();
    EXPECT_GE(HeadlessClock(), 10.9) << "returns only once the fresh press is released";
    EXPECT_TRUE(TopLeftHasText());
}

TEST_F(LevelFilesMessage, SoundFilesShowNothing) {
    const std::array<ScriptStep, 1> script{{{0, enter}}};
    UseScript(script);
    const uint64_t before = HeadlessPresentCount();
    ShowLevelFilesMessage();
    EXPECT_EQ(HeadlessPresentCount(), before);
    EXPECT_FALSE(TopLeftHasText());
}

} // namespace
} // namespace halvane
