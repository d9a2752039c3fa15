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

    // Taps `key` once: held 0.1 s, then 0.15 s of nothing.
    void Tap(int key) {
        script.At(clock, {key});
        script.At(clock + 0.1, {});
        clock += 0.25;
    }
    // The values one setting took over the run, repeats folded.
    template <typename Field> std::vector<int> Values(Field field) const {
        std::vector<int> seen;
        for (int i = 0; i < FrameCount; ++i) {
            const int v = Frames[i].*field;
            if (seen.empty() || seen.back() != v) seen.push_back(v);
        }
        return seen;
    }
    // Checks the 8 frames of the dimming fade from frame `first` on.
    static void ExpectDimmingFade(int first) {
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(Frames[first + i].background, Blend(kPictureColour, 0, 255 - 15 * i))
                << "dimming step " << i;
    }
    // Checks the cross-fade back to the menu in the last 8 frames: the menu
    // picture rises from 135 while the screen's picture falls by 35 a frame.
    static void ExpectCrossFadeBack(uint32_t screenBackground) {
        for (int i = 0; i < 8; ++i) {
            const uint32_t menu = Blend(kPictureColour, 0, 135 + 15 * i);
            EXPECT_EQ(Frames[FrameCount - 8 + i].background,
                      Blend(screenBackground, menu, 255 - 35 * i))
                << "cross-fade step " << i;
        }
    }
    KeyScript script;
    double clock = 1.0;
};

TEST_F(OptionsHelpTest, EverySettingWrapsAndGoBackLeaves) {
    KeyHeld = 0;
    script.At(0, {kKeyEnter}); // still held from the menu: ignored
    script.At(0.5, {});
    Tap(kKeyUp);   // CONTROLS -> GO BACK
    Tap(kKeyDown); // GO BACK -> CONTROLS
    for (int press = 0; press < 2; ++press)
        Tap(kKeyEnter);
    Tap(kKeyDown);
    for (int press = 0; press < 2; ++press)
        Tap(kKeySpace);
    Tap(kKeyDown);
    for (int press = 0; press < 4; ++press)
        Tap(kKeyEnter);
    Tap(kKeyDown);
    for (int press = 0; press < 5; ++press)
        Tap(kKeyEnter);
    Tap(kKeyDown);
    for (int press = 0; press < 5; ++press)
        Tap(kKeyEnter);
    Tap(kKeyDown);
    for (int press = 0; press < 2; ++press)
        Tap(kKeyEnter);
    Tap(kKeyDown);
    Tap(kKeyEnter); // GO BACK
    script.Use();
    EXPECT_EQ(HeadlessRun(ShowOptions), 0);

    EXPECT_EQ(Values(&Frame::optControls), (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(Values(&Frame::optBackground), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(Values(&Frame::optGameSpeed), (std::vector<int>{2, 3, 4, 1, 2}));
    EXPECT_EQ(Values(&Frame::optSfx), (std::vector<int>{3, 4, 0, 1, 2, 3}));
    EXPECT_EQ(Values(&Frame::optMusic), (std::vector<int>{3, 4, 0, 1, 2, 3}));
    EXPECT_EQ(Values(&Frame::optAltitude), (std::vector<int>{1, 0, 1}));
    // 21 confirms, and once more when the effects' volume came to 25 %.
    EXPECT_EQ(MenuSelectSounds, 22);
    EXPECT_EQ(MenuSelection, 2);
    EXPECT_EQ(KeyHeld, 1);
    EXPECT_EQ(FadeAlpha, 255);

    ExpectDimmingFade(0);
    ExpectCrossFadeBack(Blend(kPictureColour, 0, 135));
    // A frame of the screen itself: CONTROLS highlighted over the dimmed
    // picture, the others at 160.
    const Frame &first = Frames[8];
    const uint32_t dimmedPicture = Blend(kPictureColour, 0, 135);
    EXPECT_EQ(first.background, dimmedPicture);
    EXPECT_EQ(first.optionItems[0], kFontInk);
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(first.optionItems[i], Blend(kFontInk, dimmedPicture, 160)) << "item " << i + 1;
}

TEST_F(OptionsHelpTest, ValueTextsFollowTheSettingsAndFallBackForStrangeValues) {
    OptControls = 2;
    OptGameSpeed = 4;
    OptSfxVolume = 1;
    OptMusicVolume = 4;
    OptBackground = 0;
    OptAltitudeMeter = 1;
    EXPECT_STREQ(OptionValueText(1), "KEYBOARD");
    EXPECT_STREQ(OptionValueText(2), "OFF");
    EXPECT_STREQ(OptionValueText(3), "TURBO");
    EXPECT_STREQ(OptionValueText(4), "25 %");
    EXPECT_STREQ(OptionValueText(5), "100 %");
    EXPECT_STREQ(OptionValueText(6), "ON");
    EXPECT_STREQ(OptionValueText(7), "");
    OptControls = 9;
    OptBackground = 5;
    OptGameSpeed = 0;
    OptSfxVolume = -3;
    OptMusicVolume = 7;
    OptAltitudeMeter = 2;
    EXPECT_STREQ(OptionValueText(1), "MOUSE");
    EXPECT_STREQ(OptionValueText(2), "OFF");
    EXPECT_STREQ(OptionValueText(3), "SLOW");
    EXPECT_STREQ(OptionValueText(4), "0 %");
    EXPECT_STREQ(OptionValueText(5), "0 %");
    EXPECT_STREQ(OptionValueText(6), "OFF");
}

TEST_F(OptionsHelpTest, HelpWaitsForTheOpeningKeyAndLeavesOnSpace) {
    MenuSelection = 3;
    script.At(0, {kKeyEnter}); // the key that opened the screen
    script.At(1.0, {});
    script.At(1.5, {kKeySpace});
    script.Use();
    EXPECT_EQ(HeadlessRun(ShowHelp), 0);

    ExpectDimmingFade(0);
    const uint32_t dimmedPicture = Blend(kPictureColour, 0, 135);
    // The page stood from the release at 1.0 s to Space at 1.5 s, its text in
    // full ink over the picture.
    int pages = 0;
    for (int i = 8; i < FrameCount - 8; ++i) {
        EXPECT_EQ(Frames[i].background, dimmedPicture);
        EXPECT_EQ(Frames[i].helpFirst, kFontInk);
        EXPECT_EQ(Frames[i].helpLast, kFontInk);
        ++pages;
    }
    EXPECT_GT(pages, 25);
    EXPECT_GT(Frames[FrameCount - 9].time, 1.49);
    ExpectCrossFadeBack(dimmedPicture);
    EXPECT_EQ(MenuSelection, 1);
    EXPECT_EQ(FadeAlpha, 255);
    EXPECT_EQ(MenuSelectSounds, 1);
}

} // namespace
} // namespace halvane
