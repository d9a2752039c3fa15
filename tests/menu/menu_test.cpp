// The main menu, options and help screens under held keys, read from the
// screen tests' record of pages and sounds.
#include <algorithm>
#include <span>
#include <tuple>

#include "app/main_menu.h"
#include "screens/options.h"
#include "tests/screens/screens_harness.h"
#include "world/craft.h"

namespace halvane {
namespace {

constexpr uint32_t kPicture = 0x204060; // the test's menu picture

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

const uint32_t kDimmed = Blend(kPicture, 0, 135);      // behind options and help
const uint32_t kItem = Blend(kFontInk, kPicture, 160); // a menu item not highlighted

// Far from text; ink of L, O, H, Q (top-left corner or one right); help lines 1, 30.
constexpr std::array<std::array<int, 2>, 8> kMenuProbes{
    {{600, 400}, {290, 130}, {291, 140}, {290, 150}, {291, 160}, {10, 40}, {180, 440}}};
constexpr std::array<int, 7> kOptionInkX{251, 250, 251, 251, 250, 251, 251}; // C B G S M A G

// The highlighted menu item of each shot from `from` on, repeats folded; -1
// marks a stretch of other screens.
std::vector<int> Highlights(int from) {
    std::vector<int> seen;
    for (int i = from; i < ShotCount; ++i) {
        const auto items = std::span(Shots[i].probe).subspan(1, 4);
        const bool menu =
            Shots[i].probe[0] == kPicture && std::count(items.begin(), items.end(), kItem) == 3;
        const auto lit = std::find(items.begin(), items.end(), kFontInk);
        const int mark =
            menu && lit != items.end() ? static_cast<int>(lit - items.begin()) + 1 : -1;
        if (seen.empty() || seen.back() != mark) seen.push_back(mark);
    }
    return seen;
}

void ExpectFade(int first, int start, bool up, int steps) {
    for (int i = 0; i < steps; ++i)
        EXPECT_EQ(Shots[first + i].probe[0], Blend(kPicture, 0, start + (up ? 15 : -15) * i))
            << "fade step " << first + i;
}

// The 8 shots before `first` dim the menu picture; the 8 after `last` raise it
// from 135 while the screen's own picture falls by 35.
void ExpectDimAndCrossFade(int first, int last) {
    ExpectFade(first - 8, 255, false, 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Shots[last + 1 + i].probe[0],
                  Blend(kDimmed, Blend(kPicture, 0, 135 + 15 * i), 255 - 35 * i))
            << "cross-fade step " << i;
}

void Tap(int key, double at) {
    HoldKey(key, at, at + 0.1);
}

class MenuTest : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        PrepareScreens();
        FillCapture(kPicture);
        ScreenImages[MenuBackground] = ScreenImages[CaptureImage];
        OptGameSpeed = 2, OptBackground = OptAltitudeMeter = OptControls = 1;
        OptSfxVolume = OptMusicVolume = 3, ScreenshotNumber = 1;
        Probes = kMenuProbes;
    }
};

// An arrow held moves one item and latches Enter and Space; OPTIONS comes back
// on OPTIONS; HELP waits for the release of the key that opened it; S stops
// the menu; QUIT fades out and ends the program.
TEST_F(MenuTest, TheMenuMovesLatchesOpensScreensSavesPicturesAndQuits) {
    HoldKey(kKeyDown, 1.0, 3.0);
    HoldKey(kKeyEnter, 1.5, 2.0);
    HoldKey(kKeySpace, 2.5, 3.0);
    const int keys[] = {kKeyDown,  kKeyUp,   kKeyUp,    kKeyUp,    kKeyDown,  -1,
                        kKeyUp,    kKeyUp,   kKeyDown,  kKeyDown,  kKeyEnter, kKeyUp,
                        kKeyEnter, kKeyDown, kKeyEnter, kKeySpace, kKeyUp};
    for (int i = 0; i < 17; ++i) {
        const double at = 3.3 + 0.5 * i + (i > 14 ? 0.5 : 0);
        Tap(keys[i] < 0 ? kKeyDown : keys[i], at);
        if (keys[i] < 0) Tap(kKeyUp, at); // both arrows: only Down acts
    }
    HoldKey(kKeyEnter, 10.3, 10.8); // HELP, held beyond its dimming
    HoldKey(kKeyS, 12.5, 13.0);
    Tap(kKeyS, 13.3);
    HoldKey(kKeySpace, 13.7, 14.2);
    EXPECT_EQ(HeadlessRun(MainMenu), 0);
    ExpectFade(0, 0, true, 17);
    EXPECT_EQ(Highlights(17),
              (std::vector<int>{1, 2, 3, 2, 1, 4, 1, 2, 1, 4, 1, 2, -1, 2, 3, -1, 1, 4, -1}));
    ExpectFade(ShotCount - 17, 255, false, 17); // and nothing after it
    // Nothing changed in the options; two whole screenshots.
    EXPECT_EQ(std::tuple(HeardCount("fx"), OptControls, OptGameSpeed, ScreenshotNumber),
              std::tuple(5, 1, 2, 3));
    for (const char *name : {"screenshot1.bmp", "screenshot2.bmp"})
        EXPECT_EQ(std::filesystem::file_size(name), 921654u);
    EXPECT_FALSE(std::filesystem::exists("screenshot3.bmp"));
    int first = 0, last = 0; // the help page
    for (int i = 0; i < ShotCount; ++i) {
        EXPECT_FALSE(Shots[i].time > 12.55 && Shots[i].time < 13.0) << Shots[i].time;
        if (Shots[i].probe[5] == kFontInk) last = i, first = first == 0 ? i : first;
    }
    EXPECT_GT(last - first, 25); // from the release at 10.8 s to Space at 11.3 s
    EXPECT_GT(Shots[last].time, 11.29);
    for (int i = first; i <= last; ++i)
        EXPECT_EQ(std::tuple(Shots[i].probe[0], Shots[i].probe[6]), std::tuple(kDimmed, kFontInk));
    ExpectDimAndCrossFade(first, last - 1); // the cross-fade starts from the page itself
}

TEST_F(MenuTest, EveryOptionWrapsAndGoBackLeaves) {
    for (std::size_t i = 0; i < 7; ++i)
        Probes[i + 1] = {kOptionInkX[i], 120 + 10 * static_cast<int>(i)};
    KeyHeld = 0;
    HoldKey(kKeyEnter, 0, 0.5); // still held from the menu: ignored
    double clock = 1.0;
    auto tap = [&](int key, int times) {
        for (int i = 0; i < times; ++i, clock += 0.25)
            Tap(key, clock);
    };
    tap(kKeyUp, 1); // CONTROLS -> GO BACK -> CONTROLS
    tap(kKeyDown, 1);
    const int presses[] = {2, 2, 4, 5, 5, 2};
    for (int item = 0; item < 6; ++item) {
        tap(item == 1 ? kKeySpace : kKeyEnter, presses[item]);
        tap(kKeyDown, 1);
    }
    tap(kKeyEnter, 1); // GO BACK
    EXPECT_EQ(HeadlessRun(ShowOptions), 0);

    const std::vector<int> expected[] = {{1, 2, 1},          {1, 0, 1},          {2, 3, 4, 1, 2},
                                         {3, 4, 0, 1, 2, 3}, {3, 4, 0, 1, 2, 3}, {1, 0, 1}};
    for (std::size_t k = 0; k < 6; ++k) {
        std::vector<int> seen;
        for (int i = 0; i < ShotCount; ++i)
            if (seen.empty() || seen.back() != Shots[i].options[k])
                seen.push_back(Shots[i].options[k]);
        EXPECT_EQ(seen, expected[k]) << "setting " << k + 1;
    }
    EXPECT_EQ(HeardCount("fx"), 22);         // 21 confirms, and again when the effects came to 25 %
    std::array<int, kMaxShots + 1> sounds{}; // before each shot
    for (const auto &[name, shots] : HeardSounds())
        if (name == "fx") ++sounds[shots];
    for (int i = 0; i < ShotCount; ++i)
        EXPECT_EQ(sounds[i], sounds[i] == 0 ? 0 : Shots[i].options[3] == 1 ? 2 : 1) << i;
    ExpectDimAndCrossFade(8, ShotCount - 9);
    // CONTROLS highlighted over the dimmed picture, the others at 160.
    EXPECT_EQ(std::tuple(Shots[8].probe[0], Shots[8].probe[1]), std::tuple(kDimmed, kFontInk));
    for (std::size_t i = 2; i < 8; ++i)
        EXPECT_EQ(Shots[8].probe[i], Blend(kFontInk, kDimmed, 160)) << i;

    // The value texts, with fall-backs for values no option screen makes.
    const std::array<int, 6> values[] = {{2, 0, 4, 1, 4, 1}, {9, 5, 0, -3, 7, 2}};
    const std::array<const char *, 7> texts[] = {
        {"KEYBOARD", "OFF", "TURBO", "25 %", "100 %", "ON", ""},
        {"MOUSE", "OFF", "SLOW", "0 %", "0 %", "OFF", ""}};
    for (int c = 0; c < 2; ++c) {
        std::tie(OptControls, OptBackground, OptGameSpeed, OptSfxVolume, OptMusicVolume,
                 OptAltitudeMeter) = std::tuple_cat(values[c]);
        for (int item = 1; item <= 7; ++item)
            EXPECT_STREQ(OptionValueText(item), texts[c][item - 1]) << c << " item " << item;
    }
}

// Confirms for whatever the first level shows, then play abandoned.
TEST_F(MenuTest, LaunchFadesTheMenuOutAndSetsTheGameUpAtTheChosenSpeed) {
    OptGameSpeed = 4, Lives = 0, Shield = 3, GameCompleted = 1;
    for (int n = 1; n <= 20; ++n)
        Tap(kKeyEnter, n * 0.5);
    HoldKey(kKeyEsc, 12.0, 12.2);
    HoldKey(kKeyY, 12.2, 14.0);
    EXPECT_EQ(HeadlessRun(LaunchGame), 0);
    ExpectFade(0, 255, false, 17);
    EXPECT_EQ(
        std::tuple(TargetFps, Lives, Shield > 0, GameCompleted, LevelNumber, CraftRoll, CraftPitch),
        std::tuple(45, 2, true, 0, 1, 4, 4));
}

} // namespace
} // namespace halvane
