#include "tests/menu/menu_harness.h"

#include <gtest/gtest.h>

#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/audio.h"
#include "platform/headless.h"
#include "platform/screen.h"
#include "render/font.h"

namespace halvane {

std::array<Frame, kMaxFrames> Frames;
int FrameCount = 0;
int MenuSelectSounds = 0;

// The sound layer: counts the menu-select effect.
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

uint32_t At(const Page &page, int x, int y) {
    const uint8_t *p = page.pixels + (static_cast<size_t>(y) * 640 + x) * 4;
    return (p[0] | p[1] << 8 | p[2] << 16) & 0xFFFFFFu;
}

void Record(const Page &page) {
    // A screen that never ends fails its test instead of hanging it.
    if (HeadlessClock() > 60) throw ProgramEnded{99};
    if (FrameCount >= kMaxFrames) return;
    Frame &f = Frames[FrameCount++];
    f.time = HeadlessClock();
    f.background = At(page, 600, 400);
    // L, O, H, Q: ink at their glyph's top-left corner or one pixel right.
    f.menuItems = {At(page, 290, 130), At(page, 291, 140), At(page, 290, 150), At(page, 291, 160)};
    // C, B, G, S, M, A, G of the option labels.
    f.optionItems = {At(page, 251, 120), At(page, 250, 130), At(page, 251, 140), At(page, 251, 150),
                     At(page, 250, 160), At(page, 251, 170), At(page, 251, 180)};
    f.helpFirst = At(page, 10, 40);  // the H of "Halvane"
    f.helpLast = At(page, 180, 440); // the P of "Press ENTER"
    f.sounds = MenuSelectSounds;
    f.options = {OptControls,  OptBackground,  OptGameSpeed,
                 OptSfxVolume, OptMusicVolume, OptAltitudeMeter};
}

int HighlightedItem(const Frame &frame) {
    if (frame.background != kPictureColour) return 0;
    int highlighted = 0;
    for (int i = 0; i < 4; ++i) {
        if (frame.menuItems[i] == kFontInk && highlighted == 0) {
            highlighted = i + 1;
        } else if (frame.menuItems[i] != Blend(kFontInk, kPictureColour, 160)) {
            return 0;
        }
    }
    return highlighted;
}

} // namespace

void PrepareMenuTest() {
    HeadlessSetClock(0);
    ASSERT_TRUE(OpenScreen(32, 0));
    ASSERT_TRUE(LoadFont(HALVANE_SOURCE_DIR "/Graphics/zqfont.fnt", GameFont, kFontProportional));
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

void KeyScript::At(double time, std::initializer_list<int> keys) {
    ScriptStep &step = steps[count++];
    step.time = time;
    for (int key : keys)
        step.state.keys[key] = true;
}

void KeyScript::Tap(double time, std::initializer_list<int> keys) {
    At(time, keys);
    At(time + 0.1, {});
}

void KeyScript::Use() {
    // Every key comes up in the end, so that no wait for a release can last.
    if (count > 0) At(steps[count - 1].time + 0.5, {});
    UseScript(std::span<const ScriptStep>(steps.data(), count));
}

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

std::vector<int> Highlights(int from) {
    std::vector<int> seen;
    for (int i = from; i < FrameCount; ++i) {
        const int item = HighlightedItem(Frames[i]);
        const int mark = item == 0 ? -1 : item;
        if (seen.empty() || seen.back() != mark) seen.push_back(mark);
    }
    return seen;
}

void ExpectFade(int first, int start, bool up, int steps) {
    for (int i = 0; i < steps; ++i)
        EXPECT_EQ(Frames[first + i].background,
                  Blend(kPictureColour, 0, start + (up ? 15 : -15) * i))
            << "fade step " << i;
}

} // namespace halvane
