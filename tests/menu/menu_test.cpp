// The main menu under scripted keys: its fades, the key latch, the way back
// from the options and help screens, screenshots, QUIT and LAUNCH.
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "core/game_state.h"
#include "platform/headless.h"
#include "tests/menu/menu_harness.h"
#include "world/craft.h"

namespace halvane {
namespace {

using Items = std::vector<int>;

class MainMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepareMenuTest();
        script.At(0, {});
    }
    void TearDown() override { HeadlessSetObserver(nullptr); }
    int RunMenu() {
        script.Use();
        return HeadlessRun([] { MainMenu(); });
    }
    KeyScript script;
};

TEST_F(MainMenuTest, FadesInThenUpOnLaunchGivesQuitWhichFadesOutAndEndsWithCodeZero) {
    script.Tap(1.0, {kKeyUp});
    script.At(1.6, {kKeyEnter});
    EXPECT_EQ(RunMenu(), 0);
    ASSERT_GT(FrameCount, 40);
    ExpectFade(0, 0, true, 17);
    EXPECT_EQ(Highlights(17), (Items{1, 4, -1}));
    ExpectFade(FrameCount - 17, 255, false, 17); // and nothing after it
    EXPECT_EQ(MenuSelectSounds, 1);
}

TEST_F(MainMenuTest, HoldingAnArrowMovesOneItemAndTheHighlightWrapsBothWays) {
    script.At(1.0, {kKeyDown}); // held two seconds: one step
    script.At(3.0, {});
    const int keys[] = {kKeyDown, kKeyUp, kKeyUp, kKeyUp, kKeyDown, -1, kKeyUp, kKeyUp};
    for (int i = 0; i < 8; ++i) {
        if (keys[i] < 0) {
            script.Tap(3.3 + 0.4 * i, {kKeyUp, kKeyDown}); // both: only Down acts
        } else {
            script.Tap(3.3 + 0.4 * i, {keys[i]});
        }
    }
    script.At(6.8, {kKeySpace});
    EXPECT_EQ(RunMenu(), 0);
    EXPECT_EQ(Highlights(17), (Items{1, 2, 3, 2, 1, 4, 1, 2, 1, 4, -1}));
}

TEST_F(MainMenuTest, EnterWhileAnArrowIsHeldDoesNothing) {
    script.At(1.0, {kKeyDown});
    script.At(1.5, {kKeyDown, kKeyEnter});
    script.At(2.0, {kKeyDown});
    script.At(2.5, {kKeyDown, kKeySpace});
    script.At(3.0, {});
    script.Tap(3.3, {kKeyUp});
    script.Tap(3.7, {kKeyUp});
    script.At(4.2, {kKeyEnter});
    EXPECT_EQ(RunMenu(), 0);
    // OPTIONS was highlighted under the Enter presses, yet no other screen came up.
    EXPECT_EQ(Highlights(17), (Items{1, 2, 1, 4, -1}));
    EXPECT_EQ(MenuSelectSounds, 1);
}

TEST_F(MainMenuTest, OptionsComesBackOnOptionsAndHelpOnLaunch) {
    const int keys[] = {kKeyDown,  kKeyEnter, kKeyUp, kKeyEnter, kKeyDown,
                        kKeySpace, kKeyEnter, kKeyUp, kKeyEnter};
    // Down, OPTIONS, GO BACK, back; Down, HELP, back; QUIT.
    for (int i = 0; i < 9; ++i)
        script.Tap(1.0 + 0.5 * i, {keys[i]});
    EXPECT_EQ(RunMenu(), 0);
    EXPECT_EQ(Highlights(17), (Items{1, 2, -1, 2, 3, -1, 1, 4, -1}));
    EXPECT_EQ(OptControls * 10 + OptGameSpeed, 12); // nothing changed on the way
}

TEST_F(MainMenuTest, SWritesOneScreenshotPerPress) {
    for (int n = 1; n <= 3; ++n)
        std::filesystem::remove("screenshot" + std::to_string(n) + ".bmp");
    script.At(1.0, {kKeyS}); // held half a second: one picture
    script.At(1.5, {});
    script.Tap(2.0, {kKeyS});
    script.Tap(2.5, {kKeyUp});
    script.At(3.0, {kKeyEnter});
    EXPECT_EQ(RunMenu(), 0);
    EXPECT_EQ(ScreenshotNumber, 3);
    EXPECT_EQ(std::filesystem::file_size("screenshot1.bmp"), 921654u);
    EXPECT_EQ(std::filesystem::file_size("screenshot2.bmp"), 921654u);
    EXPECT_FALSE(std::filesystem::exists("screenshot3.bmp"));
    for (int i = 0; i < FrameCount; ++i) // while S is held the menu stands still
        EXPECT_FALSE(Frames[i].time > 1.05 && Frames[i].time < 1.5) << Frames[i].time;
}

TEST_F(MainMenuTest, LaunchFadesTheMenuOutAndSetsTheGameUpAtTheChosenSpeed) {
    OptGameSpeed = 4;
    Lives = 0;
    Shield = 3;
    GameCompleted = 1;
    // Confirms now and then, for whatever the first level shows before play;
    // then a moment of play, abandoned with Esc and Y.
    for (int n = 1; n <= 20; ++n)
        script.Tap(n * 0.5, {kKeyEnter});
    script.At(12.0, {kKeyEsc});
    script.At(12.2, {kKeyY});
    script.At(14.0, {});
    script.Use();
    EXPECT_EQ(HeadlessRun(LaunchGame), 0);
    ExpectFade(0, 255, false, 17);
    EXPECT_EQ(TargetFps, 45);
    EXPECT_EQ(Lives, 2);
    EXPECT_GT(Shield, 0);
    EXPECT_EQ(GameCompleted, 0);
    EXPECT_EQ(LevelNumber, 1);
    EXPECT_EQ(CraftRoll * 10 + CraftPitch, 44);
}

} // namespace
} // namespace halvane
