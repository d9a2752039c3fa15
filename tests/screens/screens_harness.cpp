#include "tests/screens/screens_harness.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/audio.h"
#include "platform/headless.h"
#include "platform/screen.h"
#include "render/font.h"

namespace halvane {

std::array<Shot, kMaxShots> Shots;
int ShotCount = 0;
std::array<Box, 4> InkBoxes;
std::array<std::array<int, 2>, 4> Probes;
std::string Heard;

// A recording stand-in for the silent sound layer, so that tests hear the screens.
int32_t SfxMenuSelect, SfxBriefingOpen, SfxBriefingLine, SfxMissileLaunch, SfxShipDestroyed,
    SfxMineDestroyed, SfxGroundImpact, SfxShipPass, SfxCraftHit, SfxCraftExplosion, SfxShieldLow,
    SfxEndWarning, SfxStructureDestroyed, SfxLevelStats;

namespace {

void Hear(const char *name) {
    Heard += std::string(name) + "@" + std::to_string(ShotCount) + " ";
}

} // namespace

void PlayEffect(int32_t &slot) {
    const int32_t *s = &slot;
    Hear(s == &SfxBriefingOpen     ? "open"
         : s == &SfxBriefingLine   ? "line"
         : s == &SfxLevelStats     ? "stats"
         : s == &SfxCraftExplosion ? "boom"
                                   : "fx");
}
void PlayMusic(const char *fileName) {
    Hear(fileName);
}
void StopMusic() {
    Hear("stop");
}

int HeardCount(const std::string &name) {
    int n = 0;
    for (auto at = Heard.find(name + "@"); at != std::string::npos;
         at = Heard.find(name + "@", at + 1))
        n += at == 0 || Heard[at - 1] == ' ';
    return n;
}

namespace {

struct Hold {
    int key;  // scan code, or -1 for buttons
    int mask; // buttons
    double from, until;
};
std::array<Hold, 32> Holds;
int HoldCount = 0;
double SeenFrameTime = 0;
uint64_t SeenPresents = 0;

uint32_t PixelOf(const uint8_t *pixels, int x, int y) {
    uint32_t value = 0;
    std::memcpy(&value, pixels + (static_cast<std::size_t>(y) * kScreenWidth + x) * 4, 4);
    return value & 0xFFFFFF;
}

void Record(const uint8_t *pixels, bool paced) {
    if (ShotCount >= kMaxShots) return;
    Shot &s = Shots[ShotCount++];
    s = {HeadlessClock() - kStart, paced, FadeAlpha, PageHash(pixels), {}, {}, {}};
    for (std::size_t i = 0; i < InkBoxes.size(); ++i) {
        const Box &box = InkBoxes[i];
        for (int y = box.y1; y <= box.y2; ++y)
            for (int x = box.x1; x <= box.x2; ++x)
                s.ink[i] += PixelOf(pixels, x, y) == kFontInk;
        s.probe[i] = PixelOf(pixels, Probes[i][0], Probes[i][1]);
    }
    for (int k = 1; k <= 11; ++k)
        s.lines[static_cast<std::size_t>(k - 1)] = LineAlpha[k];
}

void Observe(const Page &page) {
    Record(page.pixels, false);
}

// Holds what the plan says; on the first poll after a paced frame was
// finished (LastFrameTime moved with no page presented since) it records
// that page: still the work page until the next frame selects the pages.
void ScreensPilot(double now, InputState &state) {
    state.keys.fill(false);
    state.buttons = 0;
    state.mouseX = 310;
    state.mouseY = 4;
    const double t = now - kStart;
    for (int i = 0; i < HoldCount; ++i) {
        const Hold &h = Holds[static_cast<std::size_t>(i)];
        if (t < h.from || t >= h.until) continue;
        if (h.key >= 0) state.keys[static_cast<std::size_t>(h.key)] = true;
        state.buttons |= h.mask;
    }
    const uint64_t presents = HeadlessPresentCount();
    if (LastFrameTime != SeenFrameTime && presents == SeenPresents) {
        const int page = WorkPageIndex() != WorkPage ? WorkPageIndex() : VisiblePageIndex();
        Record(PagePixels(page), true);
    }
    SeenFrameTime = LastFrameTime;
    SeenPresents = presents;
}

} // namespace

void HoldKey(int scanCode, double from, double until) {
    Holds[static_cast<std::size_t>(HoldCount++)] = {scanCode, 0, from, until};
}

void HoldButtons(int mask, double from, double until) {
    Holds[static_cast<std::size_t>(HoldCount++)] = {-1, mask, from, until};
}

void PrepareScreens() {
    HeadlessSetClock(kStart);
    ASSERT_TRUE(OpenScreen(32, 0));
    ASSERT_TRUE(LoadFont(HALVANE_SOURCE_DIR "/Graphics/zqfont.fnt", GameFont, kFontProportional));
    SetPages(1, 0);
    FillBox(0, 0, 639, 479, kBriefingColour);
    GrabImage(0, 0, 639, 479, ScreenImages[BriefingBackground]);
    FillBox(0, 0, 639, 479, 0x485020);
    GrabImage(0, 0, 639, 479, ScreenImages[EndGameBackground]);
    const std::array<int, 5> widths{320, 148, 107, 307, 55};
    for (int slot = 2; slot <= 6; ++slot) {
        const float w = static_cast<float>(widths[static_cast<std::size_t>(slot - 2)] - 1);
        const float h = slot == 6 ? 16 : 18;
        FillBox(0, 0, w, h, kScriptColours[static_cast<std::size_t>(slot - 2)]);
        GrabImage(0, 0, w, h, Sprites[slot]);
    }
    ClearWorkPage();
    WorkPage = 0;
    TargetFps = 23;
    LastFrameTime = SeenFrameTime = kStart;
    SeenPresents = HeadlessPresentCount();
    ShotCount = HoldCount = 0;
    Heard.clear();
    HeadlessSetObserver(Observe);
    UsePilot(ScreensPilot);
}

void FillCapture(uint32_t colour) {
    FillBox(0, 0, 639, 479, colour);
    GrabImage(0, 0, 639, 479, ScreenImages[CaptureImage]);
    ClearWorkPage();
}

uint64_t PageHash(const uint8_t *pixels) {
    uint64_t h = 1469598103934665603ull;
    for (std::size_t i = 0; i < std::size_t{kScreenWidth} * kScreenHeight; ++i) {
        uint32_t v = 0;
        std::memcpy(&v, pixels + i * 4, 4);
        h = (h ^ (v & 0xFFFFFF)) * 1099511628211ull;
    }
    return h;
}

uint64_t WorkPageHash() {
    return PageHash(PagePixels(WorkPageIndex()));
}

int CountPaced(int first, int last) {
    int n = 0;
    for (int i = first; i < last && i < ShotCount; ++i)
        n += Shots[i].paced;
    return n;
}

int NextShot(int from, bool paced) {
    for (int i = from; i < ShotCount; ++i)
        if (Shots[i].paced == paced) return i;
    return ShotCount;
}

} // namespace halvane
