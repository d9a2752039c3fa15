#include "tests/menu/menu_harness.h"

#include <gtest/gtest.h>

#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/headless.h"
#include "platform/screen.h"
#include "render/font.h"

namespace halvane {

std::array<Frame, kMaxFrames> Frames;
int FrameCount = 0;

namespace {

uint32_t At(const Page &page, int x, int y) {
    const uint8_t *p = page.pixels + (static_cast<size_t>(y) * 640 + x) * 4;
    return (p[0] | p[1] << 8 | p[2] << 16) & 0xFFFFFFu;
}

void Record(const Page &page) {
    // A screen that never ends fails its test instead of hanging it.
    if (HeadlessClock() > kGiveUpAfter) throw ProgramEnded{kGaveUp};
    if (FrameCount >= kMaxFrames) return;
    Frame &f = Frames[FrameCount++];
    f.time = HeadlessClock();
    f.background = At(page, 600, 400);
    // L, O, H and Q: the first three have ink at their glyph's top-left
    // corner or one pixel right of it.
    f.menuItems = {At(page, 290, 130), At(page, 291, 140), At(page, 290, 150), At(page, 291, 160)};
    // C, B, G, S, M, A, G of the option labels.
    f.optionItems = {At(page, 251, 120), At(page, 250, 130), At(page, 251, 140), At(page, 251, 150),
                     At(page, 250, 160), At(page, 251, 170), At(page, 251, 180)};
    f.helpFirst = At(page, 10, 40);  // the H of "Halvane"
    f.helpLast = At(page, 180, 440); // the P of "Press ENTER"
    f.optControls = OptControls;
    f.optBackground = OptBackground;
    f.optGameSpeed = OptGameSpeed;
    f.optSfx = OptSfxVolume;
    f.optMusic = OptMusicVolume;
    f.optAltitude = OptAltitudeMeter;
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
    OptBackground = 1;
    OptAltitudeMeter = 1;
    OptSfxVolume = 3;
    OptMusicVolume = 3;
    OptControls = 1;
    ScreenshotNumber = 1;
    FrameCount = 0;
    MenuSelectSounds = 0;
    HeadlessSetObserver(Record);
}

void KeyScript::At(double time, std::initializer_list<int> keys) {
    ScriptStep &step = steps[count++];
    step.time = time;
    for (int key : keys)
        step.state.keys[key] = true;
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
        // Floor division: the difference may be negative.
        const int num = (s - d) * (opacity + 1);
        const int step = num >= 0 ? num / 256 : -((-num + 255) / 256);
        result |= static_cast<uint32_t>(d + step) << shift;
    }
    return result;
}

int HighlightedItem(const Frame &frame) {
    if (frame.background != kPictureColour) return 0;
    const uint32_t dimmed = Blend(kFontInk, kPictureColour, 160);
    int highlighted = 0;
    for (int i = 0; i < 4; ++i) {
        if (frame.menuItems[i] == kFontInk) {
            if (highlighted != 0) return 0;
            highlighted = i + 1;
        } else if (frame.menuItems[i] != dimmed) {
            return 0;
        }
    }
    return highlighted;
}

} // namespace halvane
