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

TEST(LevelFilesMessage, ShownOnlyForBrokenFilesAndLeftOnAFreshConfirmReleased) {
    OpenOffscreenPages(32);
    ASSERT_TRUE(LoadFont(HALVANE_SOURCE_DIR "/Graphics/zqfont.fnt", GameFont, 1));
    HeadlessSetClock(10);
    InputState enter, none;
    enter.keys[kKeyEnter] = true;
    // Enter of LAUNCH still held, then released, then pressed again.
    const std::array<ScriptStep, 4> script{{{0, enter}, {10.2, none}, {10.8, enter}, {10.9, none}}};
    UseScript(script);
    const uint64_t before = HeadlessPresentCount();
    ShowLevelFilesMessage(); // sound files: nothing shown
    EXPECT_EQ(HeadlessPresentCount(), before);
    RandomTerrain = 1;
    ShowLevelFilesMessage();
    EXPECT_GE(HeadlessClock(), 10.9) << "returns only once the fresh press is released";
    int ink = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 300; ++x)
            ink += ReadPixel(x, y) > 0;
    EXPECT_GT(ink, 0);
}

} // namespace
} // namespace halvane
