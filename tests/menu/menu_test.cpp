// The main menu, options and help screens under scripted keys: fades, the key
// latch, the way back from options and help, every setting's wrap, the double
// select sound at "25 %", screenshots, QUIT and LAUNCH. Every presented page
// is recorded by a few pixels.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <vector>

#include "app/main_menu.h"
#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/audio.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "render/font.h"
#include "screens/options.h"
#include "tests/files/temp_dir.h"
#include "world/craft.h"

namespace halvane {

// The sound layer: counts the menu-select effect.
int MenuSelectSounds = 0;
int32_t SfxMenuSelect = 0, SfxBriefingOpen = 0, SfxBriefingLine = 0, SfxMissileLaunch = 0,
        SfxShipDestroyed = 0, SfxMineDestroyed = 0, SfxGroundImpact = 0, SfxShipPass = 0,
        SfxCraftHit = 0, SfxCraftExplosion = 0, SfxShieldLow = 0, SfxEndWarning = 0,
        SfxStructureDestroyed = 0, SfxLevelStats = 0;
void PlayEffect(int32_t &slot) {
    MenuSelectSounds += &slot == &SfxMenuSelect;
}
void PlayMusic(const char *) {}
void StopMusic() {}

namespace {

constexpr uint32_t kPictureColour = 0x204060; // the test's menu picture
constexpr uint32_t kFontInk = 0xF2F6FF;       // ink of the shipped font

// The colour of `ink` blended over `ground` at `opacity`, as the screen does.
uint32_t Blend(uint32_t ink, uint32_t ground, int opacity) {
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int s = (ink >> shift) & 0xFF;
        const int d = (ground >> shift) & 0xFF;
        const int num = (s - d) * (opacity + 1); // floor division: may be negative
        const int step = num >= 0 ? num / 256 : -((-num + 255) / 256);
        result |= static_cast<uint32_t>(d + step) << shift;
    }
    return result;
}

const uint32_t kDimmedPicture = Blend(kPictureColour, 0, 135);

// What the test keeps of one presented page.
struct Frame {
    double time;
    uint32_t background;               // a pixel far from all text
    std::array<uint32_t, 4> menuItems; // first-row ink of each menu item
    std::array<uint32_t, 7> optionItems;
    uint32_t helpFirst, helpLast;   // ink of the help page's first and last lines
    std::array<int32_t, 6> options; // controls, background, speed, sfx, music, altitude
    int sounds;                     // menu-select sounds so far
};
std::array<Frame, 20000> Frames;
int FrameCount = 0;

uint32_t At(const Page &page, int x, int y) {
    const uint8_t *p = page.pixels + (static_cast<size_t>(y) * 640 + x) * 4;
    return (p[0] | p[1] << 8 | p[2] << 16) & 0xFFFFFFu;
}

void Record(const Page &page) {
    if (HeadlessClock() > 60) throw ProgramEnded{99}; // a screen that never ends fails
    if (FrameCount >= static_cast<int>(Frames.size())) return;
    Frames[FrameCount++] = {
        HeadlessClock(),
        At(page, 600, 400),
        // L, O, H, Q: ink at their glyph's top-left corner or one pixel right.
        {At(page, 290, 130), At(page, 291, 140), At(page, 290, 150), At(page, 291, 160)},
        // C, B, G, S, M, A, G of the option labels.
        {At(page, 251, 120), At(page, 250, 130), At(page, 251, 140), At(page, 251, 150),
         At(page, 250, 160), At(page, 251, 170), At(page, 251, 180)},
        At(page, 10, 40),   // the H of "Halvane"
        At(page, 180, 440), // the P of "Press ENTER"
        {OptControls, OptBackground, OptGameSpeed, OptSfxVolume, OptMusicVolume, OptAltitudeMeter},
        MenuSelectSounds};
}

// The highlighted menu item of each frame from `from` on, repeats folded; -1
// marks a stretch of other screens.
std::vector<int> Highlights(int from) {
    std::vector<int> seen;
    for (int i = from; i < FrameCount; ++i) {
        int mark = -1;
        for (int item = 0; item < 4 && Frames[i].background == kPictureColour; ++item) {
            if (Frames[i].menuItems[item] == kFontInk && mark == -1) {
                mark = item + 1;
            } else if (Frames[i].menuItems[item] != Blend(kFontInk, kPictureColour, 160)) {
                mark = -1;
                break;
            }
        }
        if (seen.empty() || seen.back() != mark) seen.push_back(mark);
    }
    return seen;
}

// Frames from `first` on fade the picture in steps of 15 from `start`.
void ExpectFade(int first, int start, bool up, int steps) {
    for (int i = 0; i < steps; ++i)
        EXPECT_EQ(Frames[first + i].background,
                  Blend(kPictureColour, 0, start + (up ? 15 : -15) * i))
            << "fade step " << first + i;
}

// Options and help open by dimming the menu picture in the 8 frames before
// `first`, and close with a cross-fade in the 8 after `last`: the menu picture
// rises from 135 while the screen's picture falls by 35.
void ExpectDimAndCrossFade(int first, int last) {
    ExpectFade(first - 8, 255, false, 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Frames[last + 1 + i].background,
                  Blend(kDimmedPicture, Blend(kPictureColour, 0, 135 + 15 * i), 255 - 35 * i))
            << "cross-fade step " << i;
}

using Items = std::vector<int>;

// The menu picture, the shipped font, the start-up options; keys from a
// script whose every key comes up in the end, so no wait for a release lasts.
class MenuTest : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        HeadlessSetClock(0);
        ASSERT_TRUE(OpenScreen(32, 0));
        ASSERT_TRUE(
            LoadFont(HALVANE_SOURCE_DIR "/Graphics/zqfont.fnt", GameFont, kFontProportional));
        SetPages(1, 0);
        FillBox(0, 0, 639, 479, kPictureColour);
        GrabImage(0, 0, 639, 479, ScreenImages[MenuBackground]);
        ClearWorkPage();
        OptGameSpeed = 2;
        OptBackground = OptAltitudeMeter = OptControls = 1;
        OptSfxVolume = OptMusicVolume = 3;
        ScreenshotNumber = 1;
        HeadlessSetObserver(Record);
    }
    void TearDown() override {
        HeadlessSetObserver(nullptr);
        TempDirTest::TearDown();
    }
    void Hold(double time, std::initializer_list<int> keys) {
        ScriptStep &step = steps[count++];
        step.time = time;
        for (int key : keys)
            step.state.keys[key] = true;
    }
    void Tap(double time, std::initializer_list<int> keys) {
        Hold(time, keys);
        Hold(time + 0.1, {});
    }
    int Run(void (*entry)()) {
        Hold(steps[count - 1].time + 0.5, {});
        UseScript(std::span<const ScriptStep>(steps.data(), count));
        return HeadlessRun(entry);
    }
    std::array<ScriptStep, 128> steps{};
    int count = 0;
};

// An arrow held moves one item and latches Enter and Space; the highlight
// wraps both ways; S held or tapped saves one picture per press while the menu
// stands; QUIT fades out and ends with code 0.
TEST_F(MenuTest, TheMenuFadesInMovesLatchesSavesPicturesAndQuits) {
    Hold(0, {});
    Hold(1.0, {kKeyDown});
    Hold(1.5, {kKeyDown, kKeyEnter});
    Hold(2.0, {kKeyDown});
    Hold(2.5, {kKeyDown, kKeySpace});
    Hold(3.0, {});
    const int keys[] = {kKeyDown, kKeyUp, kKeyUp, kKeyUp, kKeyDown, -1, kKeyUp, kKeyUp};
    for (int i = 0; i < 8; ++i) {
        if (keys[i] < 0) Tap(3.3 + 0.4 * i, {kKeyUp, kKeyDown}); // both: only Down acts
        if (keys[i] >= 0) Tap(3.3 + 0.4 * i, {keys[i]});
    }
    Hold(6.8, {kKeyS});
    Hold(7.3, {});
    Tap(7.6, {kKeyS});
    Hold(8.0, {kKeySpace});
    EXPECT_EQ(Run(MainMenu), 0);
    ExpectFade(0, 0, true, 17);
    EXPECT_EQ(Highlights(17), (Items{1, 2, 3, 2, 1, 4, 1, 2, 1, 4, -1}));
    ExpectFade(FrameCount - 17, 255, false, 17); // and nothing after it
    EXPECT_EQ(MenuSelectSounds, 1);
    EXPECT_EQ(ScreenshotNumber, 3);
    EXPECT_EQ(std::filesystem::file_size("screenshot1.bmp"), 921654u);
    EXPECT_EQ(std::filesystem::file_size("screenshot2.bmp"), 921654u);
    EXPECT_FALSE(std::filesystem::exists("screenshot3.bmp"));
    for (int i = 0; i < FrameCount; ++i)
        EXPECT_FALSE(Frames[i].time > 6.85 && Frames[i].time < 7.3) << Frames[i].time;
}

// OPTIONS comes back on OPTIONS; HELP waits for the key that opened it, stands
// in full ink until Space and comes back on LAUNCH.
TEST_F(MenuTest, OptionsAndHelpComeBackToTheMenu) {
    Hold(0, {});
    const int keys[] = {kKeyDown,  kKeyEnter, kKeyUp, kKeyEnter, kKeyDown,
                        kKeyEnter, kKeySpace, kKeyUp, kKeyEnter};
    for (int i = 0; i < 9; ++i)
        Tap(1.0 + 0.5 * i, {keys[i]});
    EXPECT_EQ(Run(MainMenu), 0);
    EXPECT_EQ(Highlights(17), (Items{1, 2, -1, 2, 3, -1, 1, 4, -1}));
    EXPECT_EQ(OptControls * 10 + OptGameSpeed, 12); // nothing changed on the way
    EXPECT_EQ(MenuSelectSounds, 5);
    int first = 0;
    while (first < FrameCount && Frames[first].helpFirst != kFontInk)
        ++first;
    int last = first;
    while (last + 1 < FrameCount && Frames[last + 1].helpFirst == kFontInk)
        ++last;
    ASSERT_LT(last + 8, FrameCount);
    EXPECT_GT(last - first, 15); // from the release at 3.6 s to Space at 4.0 s
    EXPECT_GT(Frames[last].time, 3.99);
    for (int i = first; i <= last; ++i) {
        EXPECT_EQ(Frames[i].background, kDimmedPicture);
        EXPECT_EQ(Frames[i].helpLast, kFontInk);
    }
    ExpectDimAndCrossFade(first, last - 1); // the cross-fade starts from the page itself
}

TEST_F(MenuTest, EveryOptionWrapsAndGoBackLeaves) {
    KeyHeld = 0;
    Hold(0, {kKeyEnter}); // still held from the menu: ignored
    Hold(0.5, {});
    double clock = 1.0;
    auto tap = [&](int key, int times) {
        for (int i = 0; i < times; ++i, clock += 0.25)
            Tap(clock, {key});
    };
    tap(kKeyUp, 1); // CONTROLS -> GO BACK -> CONTROLS
    tap(kKeyDown, 1);
    const int presses[] = {2, 2, 4, 5, 5, 2};
    for (int item = 0; item < 6; ++item) {
        tap(item == 1 ? kKeySpace : kKeyEnter, presses[item]);
        tap(kKeyDown, 1);
    }
    tap(kKeyEnter, 1); // GO BACK
    EXPECT_EQ(Run(ShowOptions), 0);

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
        const int sounds = Frames[i].sounds - Frames[i - 1].sounds;
        if (sounds != 0) {
            EXPECT_EQ(sounds, Frames[i].options[3] == 1 ? 2 : 1);
        }
    }
    EXPECT_EQ(MenuSelection, 2);
    EXPECT_EQ(KeyHeld, 1);
    EXPECT_EQ(FadeAlpha, 255);
    ExpectDimAndCrossFade(8, FrameCount - 9);
    // CONTROLS highlighted over the dimmed picture, the others at 160.
    EXPECT_EQ(Frames[8].background, kDimmedPicture);
    EXPECT_EQ(Frames[8].optionItems[0], kFontInk);
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(Frames[8].optionItems[i], Blend(kFontInk, kDimmedPicture, 160)) << i + 1;

    // The value texts, with fall-backs for values no option screen makes.
    const std::array<int, 6> values[] = {{2, 0, 4, 1, 4, 1}, {9, 5, 0, -3, 7, 2}};
    const std::array<const char *, 7> texts[] = {
        {"KEYBOARD", "OFF", "TURBO", "25 %", "100 %", "ON", ""},
        {"MOUSE", "OFF", "SLOW", "0 %", "0 %", "OFF", ""}};
    for (int c = 0; c < 2; ++c) {
        OptControls = values[c][0];
        OptBackground = values[c][1];
        OptGameSpeed = values[c][2];
        OptSfxVolume = values[c][3];
        OptMusicVolume = values[c][4];
        OptAltitudeMeter = values[c][5];
        for (int item = 1; item <= 7; ++item)
            EXPECT_STREQ(OptionValueText(item), texts[c][item - 1]) << c << " item " << item;
    }
}

TEST_F(MenuTest, LaunchFadesTheMenuOutAndSetsTheGameUpAtTheChosenSpeed) {
    OptGameSpeed = 4;
    Lives = 0;
    Shield = 3;
    GameCompleted = 1;
    // Confirms now and then, for whatever the first level shows before play;
    // then a moment of play, abandoned with Esc and Y.
    Hold(0, {});
    for (int n = 1; n <= 20; ++n)
        Tap(n * 0.5, {kKeyEnter});
    Hold(12.0, {kKeyEsc});
    Hold(12.2, {kKeyY});
    Hold(14.0, {});
    EXPECT_EQ(Run(LaunchGame), 0);
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
