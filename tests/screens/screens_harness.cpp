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
std::array<SoundEvent, 1024> Sounds;
int SoundCount = 0;

// The sound layer, standing in for the silent one so that tests hear the
// screens.
int32_t SfxMenuSelect = 0;
int32_t SfxBriefingOpen = 0;
int32_t SfxBriefingLine = 0;
int32_t SfxMissileLaunch = 0;
int32_t SfxShipDestroyed = 0;
int32_t SfxMineDestroyed = 0;
int32_t SfxGroundImpact = 0;
int32_t SfxShipPass = 0;
int32_t SfxCraftHit = 0;
int32_t SfxCraftExplosion = 0;
int32_t SfxShieldLow = 0;
int32_t SfxEndWarning = 0;
int32_t SfxStructureDestroyed = 0;
int32_t SfxLevelStats = 0;

namespace {

// Every request by its effect slot or music file.
struct Tally {
    const int32_t *slot;
    const char *music;
    int count;
};
std::array<Tally, 32> Tallies;
int TallyCount = 0;

int &TallyOf(const int32_t *slot, const char *music) {
    for (int i = 0; i < TallyCount; ++i) {
        Tally &t = Tallies[static_cast<std::size_t>(i)];
        if (t.slot == slot &&
            (music == nullptr ? t.music == nullptr
                              : t.music != nullptr && std::strcmp(t.music, music) == 0))
            return t.count;
    }
    Tallies[static_cast<std::size_t>(TallyCount)] = {slot, music, 0};
    return Tallies[static_cast<std::size_t>(TallyCount++)].count;
}

void Log(SoundKind kind, const int32_t *slot, const char *music) {
    if (kind != SoundKind::Stop) ++TallyOf(slot, music);
    if (SoundCount < static_cast<int>(Sounds.size()))
        Sounds[static_cast<std::size_t>(SoundCount++)] = {kind, slot, music, ShotCount};
}

} // namespace

void PlayEffect(int32_t &slot) {
    Log(SoundKind::Effect, &slot, nullptr);
}
void PlayMusic(const char *fileName) {
    Log(SoundKind::Music, nullptr, fileName);
}
void StopMusic() {
    Log(SoundKind::Stop, nullptr, nullptr);
}

int EffectCount(const int32_t &slot) {
    return TallyOf(&slot, nullptr);
}

int MusicCount(const char *fileName) {
    return TallyOf(nullptr, fileName);
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

int InkIn(const uint8_t *pixels, const Box &box) {
    int n = 0;
    for (int y = box.y1; y <= box.y2; ++y)
        for (int x = box.x1; x <= box.x2; ++x)
            n += PixelOf(pixels, x, y) == kFontInk;
    return n;
}

void Record(const uint8_t *pixels, bool paced) {
    if (ShotCount >= kMaxShots) return;
    Shot &s = Shots[static_cast<std::size_t>(ShotCount++)];
    s.time = HeadlessClock() - kStart;
    s.paced = paced;
    s.fade = FadeAlpha;
    s.hash = PageHash(pixels);
    for (std::size_t i = 0; i < InkBoxes.size(); ++i) {
        s.ink[i] = InkIn(pixels, InkBoxes[i]);
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
    FillBox(0, 0, 639, 479, kEndPictureColour);
    GrabImage(0, 0, 639, 479, ScreenImages[EndGameBackground]);
    const std::array<std::array<int, 2>, 5> sizes{
        {{320, 19}, {148, 19}, {107, 19}, {307, 19}, {55, 17}}};
    for (int slot = 2; slot <= 6; ++slot) {
        const auto [w, h] = sizes[static_cast<std::size_t>(slot - 2)];
        FillBox(0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1),
                kScriptColours[static_cast<std::size_t>(slot - 2)]);
        GrabImage(0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1), Sprites[slot]);
    }
    ClearWorkPage();
    WorkPage = 0;
    TargetFps = 23;
    LastFrameTime = kStart;
    SeenFrameTime = LastFrameTime;
    SeenPresents = HeadlessPresentCount();
    ShotCount = 0;
    SoundCount = 0;
    TallyCount = 0;
    HoldCount = 0;
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
    const std::size_t words = std::size_t{kScreenWidth} * kScreenHeight;
    for (std::size_t i = 0; i < words; ++i) {
        uint32_t v = 0;
        std::memcpy(&v, pixels + i * 4, 4);
        h = (h ^ (v & 0xFFFFFF)) * 1099511628211ull;
    }
    return h;
}

uint64_t WorkPageHash() {
    return PageHash(PagePixels(WorkPageIndex()));
}

uint64_t CaptureHash() {
    return PageHash(ScreenImages[CaptureImage].data() + kImageHeaderBytes);
}

int WorkPageInk(const Box &box) {
    return InkIn(PagePixels(WorkPageIndex()), box);
}

uint32_t Blend(uint32_t ink, uint32_t ground, int opacity) {
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int s = (ink >> shift) & 0xFF;
        const int d = (ground >> shift) & 0xFF;
        const int num = (s - d) * (opacity + 1);
        const int step = num >= 0 ? num / 256 : -((-num + 255) / 256);
        result |= static_cast<uint32_t>(d + step) << shift;
    }
    return result;
}

int CountPaced(int first, int last) {
    int n = 0;
    for (int i = first; i < last && i < ShotCount; ++i)
        n += Shots[static_cast<std::size_t>(i)].paced;
    return n;
}

int FirstPaced(int from) {
    for (int i = from; i < ShotCount; ++i)
        if (Shots[static_cast<std::size_t>(i)].paced) return i;
    return -1;
}

} // namespace halvane
