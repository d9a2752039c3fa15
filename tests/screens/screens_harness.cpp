#include "tests/screens/screens_harness.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "platform/audio.h"
#include "world/craft.h"
#include "world/terrain.h"

namespace halvane {

std::array<Shot, kMaxShots> Shots;
int ShotCount = 0;
std::array<std::array<int, 4>, 4> InkBoxes;
std::array<std::array<int, 2>, 8> Probes;
std::string Heard;

namespace {

struct Hold {
    int key, mask; // a scan code, or -1 and a mask of buttons
    double from, until;
};
std::array<Hold, 32> Holds;
int HoldCount = 0;
double SeenFrameTime = 0;
uint64_t SeenPresents = 0;

void Record(const uint8_t *pixels, bool paced) {
    if (ShotCount >= kMaxShots) return;
    Shot &s = Shots[ShotCount++];
    s = {HeadlessClock() - kStart, paced, FadeAlpha, PageHash(pixels), {}, {}, {}, {}, {}, {}};
    s.options = {OptControls,  OptBackground,  OptGameSpeed,
                 OptSfxVolume, OptMusicVolume, OptAltitudeMeter};
    s.world = {MapPosition - ScrollOffset, CraftY};
    s.fps = MeasuredFps;
    for (std::size_t i = 0; i < InkBoxes.size(); ++i)
        for (int y = InkBoxes[i][1]; y <= InkBoxes[i][3]; ++y)
            for (int x = InkBoxes[i][0]; x <= InkBoxes[i][2]; ++x)
                s.ink[i] += PixelOf(pixels, x, y) == kFontInk;
    for (std::size_t i = 0; i < Probes.size(); ++i)
        s.probe[i] = PixelOf(pixels, Probes[i][0], Probes[i][1]);
    for (int k = 1; k <= 11; ++k)
        s.lines[static_cast<std::size_t>(k - 1)] = LineAlpha[k];
}

// Holds what the plan says. On the first poll after a paced frame was
// finished (LastFrameTime moved with no page presented since) it records that
// page: still the work page until the next frame selects the pages.
void ScreensPilot(double now, InputState &state) {
    if (now - kStart > 60) throw ProgramEnded{99};
    state.keys.fill(false);
    state.buttons = 0;
    state.mouseX = 310;
    state.mouseY = 4;
    for (int i = 0; i < HoldCount; ++i) {
        const Hold &h = Holds[static_cast<std::size_t>(i)];
        if (now - kStart < h.from || now - kStart >= h.until) continue;
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

// A recording stand-in for the silent sound layer, so that tests hear the screens.
int32_t SfxMenuSelect, SfxBriefingOpen, SfxBriefingLine, SfxMissileLaunch, SfxShipDestroyed,
    SfxMineDestroyed, SfxGroundImpact, SfxShipPass, SfxCraftHit, SfxCraftExplosion, SfxShieldLow,
    SfxEndWarning, SfxStructureDestroyed, SfxLevelStats;
void PlayEffect(int32_t &slot) {
    const int32_t *s = &slot;
    PlayMusic(s == &SfxBriefingOpen     ? "open"
              : s == &SfxBriefingLine   ? "line"
              : s == &SfxLevelStats     ? "stats"
              : s == &SfxCraftExplosion ? "boom"
                                        : "fx");
}
void PlayMusic(const char *fileName) { // the effects are heard here too
    Heard += std::string(fileName) + "@" + std::to_string(ShotCount) + " ";
}
void StopMusic() {
    PlayMusic("stop");
}

int HeardCount(const std::string &name) {
    const auto sounds = HeardSounds();
    return static_cast<int>(std::count_if(sounds.begin(), sounds.end(),
                                          [&](const auto &sound) { return sound.first == name; }));
}

std::vector<std::pair<std::string, int>> HeardSounds() {
    std::vector<std::pair<std::string, int>> sounds;
    std::istringstream words(Heard);
    for (std::string word; words >> word;) {
        const auto at = word.rfind('@');
        sounds.emplace_back(word.substr(0, at), std::stoi(word.substr(at + 1)));
    }
    return sounds;
}

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
    const std::array<float, 5> widths{320, 148, 107, 307, 55};
    for (std::size_t i = 0; i < 5; ++i) {
        FillBox(0, 0, widths[i] - 1, i == 4 ? 16 : 18, kScriptColours[i]);
        GrabImage(0, 0, widths[i] - 1, i == 4 ? 16 : 18, Sprites[static_cast<int>(i) + 2]);
    }
    ClearWorkPage();
    WorkPage = 0, TargetFps = 23, LastFrameTime = SeenFrameTime = kStart;
    SeenPresents = HeadlessPresentCount(), ShotCount = HoldCount = 0;
    InkBoxes.fill({0, 0, -1, -1}), Probes = {}, Heard.clear(); // no boxes
    HeadlessSetObserver([](const Page &page) { Record(page.pixels, false); });
    UsePilot(ScreensPilot);
}

void FillCapture(uint32_t colour) {
    FillBox(0, 0, 639, 479, colour);
    GrabImage(0, 0, 639, 479, ScreenImages[CaptureImage]);
    ClearWorkPage();
}

uint32_t PixelOf(const uint8_t *pixels, int x, int y) {
    uint32_t value = 0;
    std::memcpy(&value, pixels + (static_cast<std::size_t>(y) * kScreenWidth + x) * 4, 4);
    return value & 0xFFFFFF;
}

uint64_t PageHash(const uint8_t *pixels) {
    uint64_t h = 1469598103934665603ull;
    for (int i = 0; i < kScreenWidth * kScreenHeight; ++i)
        h = (h ^ PixelOf(pixels, i, 0)) * 1099511628211ull;
    return h;
}

uint64_t StatisticsHash(uint32_t frame, int ships, int mines) {
    FillCapture(frame);
    PutImage(0, 0, ScreenImages[CaptureImage], kPutBlend, 135);
    const std::string missed = "You missed ";
    DrawText(250, 220, missed + std::to_string(ships) + " ships.", GameFont, 2, kTextTransparent);
    DrawText(250, 230, missed + std::to_string(mines) + " mines.", GameFont, 2, kTextTransparent);
    DrawText(200, 250, "Press ENTER or left mouse button", GameFont, 2, kTextTransparent);
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
