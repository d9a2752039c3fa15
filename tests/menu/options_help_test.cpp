// The options and help screens under scripted keys: every setting's wrap,
// the double select sound at "25 %", the latch, and the fades in and out.
#include <vector>

#include <gtest/gtest.h>

#include "core/game_state.h"
#include "platform/headless.h"
#include "screens/help.h"
#include "screens/options.h"
#include "tests/menu/menu_harness.h"

namespace halvane {
namespace {

class OptionsHelpTest : public ::testing::Test {
  protected:
    void SetUp() override { PrepareMenuTest(); }
    void TearDown() override { HeadlessSetObserver(nullptr); }
    KeyScript script;
};

const uint32_t kDimmedPicture = Blend(kPictureColour, 0, 135);

// The opening dims the menu picture in 8 frames; the last 8 cross-fade back:
// the menu picture rises from 135 while the screen's picture falls by 35.
void ExpectFadesInAndOut() {
    ExpectFade(0, 255, false, 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Frames[FrameCount - 8 + i].background,
                  Blend(kDimmedPicture, Blend(kPictureColour, 0, 135 + 15 * i), 255 - 35 * i))
            << "cross-fade step " << i;
}

TEST_F(OptionsHelpTest, EverySettingWrapsAndGoBackLeaves) {
    KeyHeld = 0;
    script.At(0, {kKeyEnter}); // still held from the menu: ignored
    script.At(0.5, {});
    double clock = 1.0;
    auto tap = [&](int key, int times) {
        for (int i = 0; i < times; ++i, clock += 0.25)
            script.Tap(clock, {key});
    };
    tap(kKeyUp, 1); // CONTROLS -> GO BACK -> CONTROLS
    tap(kKeyDown, 1);
    const int presses[] = {2, 2, 4, 5, 5, 2};
    for (int item = 0; item < 6; ++item) {
        tap(item == 1 ? kKeySpace : kKeyEnter, presses[item]);
        tap(kKeyDown, 1);
    }
    tap(kKeyEnter, 1); // GO BACK
    script.Use();
    EXPECT_EQ(HeadlessRun(ShowOptions), 0);

    const std::vector<int> expected[] = {{1, 2, 1},          {1, 0, 1},          {2, 3, 4, 1, 2},
                                         {3, 4, 0, 1, 2, 3}, {3, 4, 0, 1, 2, 3}, {1, 0, 1}};
    for (int k = 0; k < 6; ++k) {
        std::vector<int> seen;
        for (int i = 0; i < FrameCount; ++i)
            if (seen.empty() || seen.back() != Frames[i].options[k])
                seen.push_back(Frames[i].options[k]);
        EXPECT_EQ(seen, expected[k]) << "setting " << k + 1;
    }
    // 21 confirms, and once more when the effects' volume came to 25 %.
    EXPECT_EQ(MenuSelectSounds, 22);
    for (int i = 1; i < FrameCount; ++i) {
        if (Frames[i].sounds != Frames[i - 1].sounds) {
            EXPECT_EQ(Frames[i].sounds - Frames[i - 1].sounds, Frames[i].options[3] == 1 ? 2 : 1);
        }
    }
    EXPECT_EQ(MenuSelection, 2);
    EXPECT_EQ(KeyHeld, 1);
    EXPECT_EQ(FadeAlpha, 255);
    ExpectFadesInAndOut();
    // CONTROLS highlighted over the dimmed picture, the others at 160.
    EXPECT_EQ(Frames[8].background, kDimmedPicture);
    EXPECT_EQ(Frames[8].optionItems[0], kFontInk);
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(Frames[8].optionItems[i], Blend(kFontInk, kDimmedPicture, 160)) << i + 1;
}

TEST_F(OptionsHelpTest, ValueTextsFollowTheSettingsAndFallBackForStrangeValues) {
    struct Case {
        std::array<int, 6> values; // controls, background, speed, sfx, music, altitude
        std::array<const char *, 7> texts;
    };
    const Case cases[] = {
        {{2, 0, 4, 1, 4, 1}, {"KEYBOARD", "OFF", "TURBO", "25 %", "100 %", "ON", ""}},
        {{9, 5, 0, -3, 7, 2}, {"MOUSE", "OFF", "SLOW", "0 %", "0 %", "OFF", ""}}};
    for (const Case &c : cases) {
        OptControls = c.values[0];
        OptBackground = c.values[1];
        OptGameSpeed = c.values[2];
        OptSfxVolume = c.values[3];
        OptMusicVolume = c.values[4];
        OptAltitudeMeter = c.values[5];
        for (int item = 1; item <= 7; ++item)
            EXPECT_STREQ(OptionValueText(item), c.texts[item - 1]) << "item " << item;
    }
}

TEST_F(OptionsHelpTest, HelpWaitsForTheOpeningKeyAndLeavesOnSpace) {
    MenuSelection = 3;
    script.At(0, {kKeyEnter}); // the key that opened the screen
    script.At(1.0, {});
    script.At(1.5, {kKeySpace});
    script.Use();
    EXPECT_EQ(HeadlessRun(ShowHelp), 0);
    ExpectFadesInAndOut();
    // The page stood from the release at 1.0 s to Space at 1.5 s, in full ink.
    EXPECT_GT(FrameCount - 16, 25);
    for (int i = 8; i < FrameCount - 8; ++i) {
        EXPECT_EQ(Frames[i].background, kDimmedPicture);
        EXPECT_EQ(Frames[i].helpFirst, kFontInk);
        EXPECT_EQ(Frames[i].helpLast, kFontInk);
    }
    EXPECT_GT(Frames[FrameCount - 9].time, 1.49);
    EXPECT_EQ(MenuSelection, 1);
    EXPECT_EQ(FadeAlpha, 255);
    EXPECT_EQ(MenuSelectSounds, 1);
}

} // namespace
} // namespace halvane
