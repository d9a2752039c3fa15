// The main menu under scripted keys: its fades, the key latch, the way back
// from the options and help screens, screenshots and QUIT.
#include <cstdio>
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

class MainMenuTest : public ::testing::Test {
  protected:
    void SetUp() override { PrepareMenuTest(); }
    void TearDown() override { HeadlessSetObserver(nullptr); }

    int RunMenu() {
        script.Use();
        return HeadlessRun([] { MainMenu(); });
    }
    // The highlighted items of the menu frames, repeats folded, from frame
    // `from` on; -1 marks a stretch of other screens.
    std::vector<int> Highlights(int from = 0) const {
        std::vector<int> seen;
        for (int i = from; i < FrameCount; ++i) {
            const int item = HighlightedItem(Frames[i]);
            const int mark = item == 0 ? -1 : item;
            if (seen.empty() || seen.back() != mark) seen.push_back(mark);
        }
        return seen;
    }
    KeyScript script;
};

TEST_F(MainMenuTest, FadesInThenUpOnLaunchGivesQuitWhichFadesOutAndEndsWithCodeZero) {
    script.At(0, {});
    script.At(1.0, {kKeyUp});
    script.At(1.2, {});
    script.At(1.6, {kKeyEnter});
    EXPECT_EQ(RunMenu(), 0);

    ASSERT_GT(FrameCount, 40);
    // Opening fade: the picture at 0, 15, ..., 240 over black.
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(Frames[i].background, Blend(kPictureColour, 0, 15 * i)) << "frame " << i;
    EXPECT_EQ(HighlightedItem(Frames[17]), 1);
    // QUIT's fade: 255, 240, ..., 15, and nothing after it.
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(Frames[FrameCount - 17 + i].background, Blend(kPictureColour, 0, 255 - 15 * i))
            << "fade-out step " << i;
    EXPECT_EQ(Highlights(17), (std::vector<int>{1, 4, -1}));
    EXPECT_EQ(MenuSelectSounds, 1);
}

TEST_F(MainMenuTest, HoldingAnArrowMovesOneItemAndTheHighlightWrapsBothWays) {
    script.At(0, {});
    script.At(1.0, {kKeyDown}); // held two seconds: one step
    script.At(3.0, {});
    script.At(3.3, {kKeyDown});
    script.At(3.4, {});
    script.At(3.7, {kKeyUp});
    script.At(3.8, {});
    script.At(4.1, {kKeyUp});
    script.At(4.2, {});
    script.At(4.5, {kKeyUp}); // LAUNCH -> QUIT
    script.At(4.6, {});
    script.At(4.9, {kKeyDown}); // QUIT -> LAUNCH
    script.At(5.0, {});
    script.At(5.3, {kKeyUp, kKeyDown}); // both: only Down acts
    script.At(5.4, {});
    script.At(5.7, {kKeyUp});
    script.At(5.8, {});
    script.At(5.9, {kKeyUp});
    script.At(6.0, {});
    script.At(6.2, {kKeySpace});
    EXPECT_EQ(RunMenu(), 0);
    EXPECT_EQ(Highlights(17), (std::vector<int>{1, 2, 3, 2, 1, 4, 1, 2, 1, 4, -1}));
}

TEST_F(MainMenuTest, EnterWhileAnArrowIsHeldDoesNothing) {
    script.At(0, {});
    script.At(1.0, {kKeyDown});
    script.At(1.5, {kKeyDown, kKeyEnter});
    script.At(2.0, {kKeyDown});
    script.At(2.5, {kKeyDown, kKeySpace});
    script.At(3.0, {});
    script.At(3.3, {kKeyUp});
    script.At(3.4, {});
    script.At(3.7, {kKeyUp});
    script.At(3.8, {});
    script.At(4.2, {kKeyEnter});
    EXPECT_EQ(RunMenu(), 0);
    // OPTIONS was highlighted under the Enter presses, yet no other screen
    // came up.
    EXPECT_EQ(Highlights(17), (std::vector<int>{1, 2, 1, 4, -1}));
    EXPECT_EQ(MenuSelectSounds, 1);
}

TEST_F(MainMenuTest, OptionsComesBackOnOptionsAndHelpOnLaunch) {
    script.At(0, {});
    script.At(1.0, {kKeyDown});
    script.At(1.1, {});
    script.At(1.4, {kKeyEnter}); // OPTIONS
    script.At(1.5, {});
    script.At(2.0, {kKeyUp}); // CONTROLS -> GO BACK
    script.At(2.1, {});
    script.At(2.4, {kKeyEnter});
    script.At(2.5, {});
    script.At(3.0, {kKeyDown});
    script.At(3.1, {});
    script.At(3.4, {kKeySpace}); // HELP
    script.At(3.5, {});
    script.At(4.0, {kKeyEnter}); // back from help
    script.At(4.1, {});
    script.At(4.6, {kKeyUp});
    script.At(4.7, {});
    script.At(5.0, {kKeyEnter});
    EXPECT_EQ(RunMenu(), 0);
    EXPECT_EQ(Highlights(17), (std::vector<int>{1, 2, -1, 2, 3, -1, 1, 4, -1}));
    // Nothing changed on the way through the options.
    EXPECT_EQ(OptControls, 1);
    EXPECT_EQ(OptGameSpeed, 2);
}

TEST_F(MainMenuTest, SWritesOneScreenshotPerPress) {
    for (int n = 1; n <= 3; ++n)
        std::filesystem::remove("screenshot" + std::to_string(n) + ".bmp");
    script.At(0, {});
    script.At(1.0, {kKeyS}); // held half a second: one picture
    script.At(1.5, {});
    script.At(2.0, {kKeyS});
    script.At(2.1, {});
    script.At(2.5, {kKeyUp});
    script.At(2.6, {});
    script.At(3.0, {kKeyEnter});
    EXPECT_EQ(RunMenu(), 0);
    EXPECT_EQ(ScreenshotNumber, 3);
    EXPECT_EQ(std::filesystem::file_size("screenshot1.bmp"), 921654u);
    EXPECT_EQ(std::filesystem::file_size("screenshot2.bmp"), 921654u);
    EXPECT_FALSE(std::filesystem::exists("screenshot3.bmp"));
    // While S is held the menu stands still.
    int framesWhileHeld = 0;
    for (int i = 0; i < FrameCount; ++i)
        framesWhileHeld += Frames[i].time > 1.05 && Frames[i].time < 1.5;
    EXPECT_EQ(framesWhileHeld, 0);
}

TEST_F(MainMenuTest, LaunchFadesTheMenuOutAndSetsTheGameUpAtTheChosenSpeed) {
    OptGameSpeed = 4;
    Lives = 0;
    Shield = 3;
    GameCompleted = 1;
    // Confirms now and then, for whatever the first level shows before play.
    script.At(0, {});
    for (int n = 1; n <= 20; ++n) {
        script.At(n * 0.5, {kKeyEnter});
        script.At(n * 0.5 + 0.1, {});
    }
    // Then a moment of play, abandoned with Esc and Y.
    script.At(12.0, {kKeyEsc});
    script.At(12.2, {kKeyY});
    script.At(14.0, {});
    script.Use();
    EXPECT_EQ(HeadlessRun(LaunchGame), 0);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(Frames[i].background, Blend(kPictureColour, 0, 255 - 15 * i)) << "step " << i;
    EXPECT_EQ(TargetFps, 45);
    EXPECT_EQ(Lives, 2);
    EXPECT_GT(Shield, 0);
    EXPECT_EQ(GameCompleted, 0);
    EXPECT_EQ(LevelNumber, 1);
    EXPECT_EQ(CraftRoll, 4);
    EXPECT_EQ(CraftPitch, 4);
}

} // namespace
} // namespace halvane
