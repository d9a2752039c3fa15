// RunGame from its first frame to the menu: the Esc prompt, the ways a game
// ends, screenshots and the frame-rate read-out on the virtual clock.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "app/game_loop.h"
#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "render/models.h"
#include "world/craft.h"
#include "world/level.h"
#include "world/missiles.h"
#include "world/terrain.h"

namespace halvane {
namespace {

constexpr double kStart = 100.0;
double HeadlessStart = kStart;

// Flat green ground at depth 7 on a white backdrop, the craft as the launch
// leaves it; the menu picture is white too.
void SetUpGame(double start = kStart) {
    OpenOffscreenPages(32);
    HeadlessSetClock(start);
    HeadlessStart = start;
    SetPages(1, 0);
    FillBox(0, 0, 639, 479, 0xFFFFFF);
    GrabImage(0, 0, 639, 479, ScreenImages[MenuBackground]);
    GrabImage(0, 0, 639, 479, ScreenImages[LevelBackground1]);
    CraftModelScale = 0.1f;
    FillAngleTables();
    BuildCraftModels();
    BuildMineModel();
    BuildMissileModel();
    for (int row = kMapFirstRow; row <= kMapLastRow; ++row)
        for (int k = 1; k <= 30; ++k)
            LevelMap[k][row] = k <= 15 ? 7 : 3;
    ResetForLevel();
    SpeedFactor = 1;
    MissileSide = 0.5f;
    LevelNumber = 1;
    LevelBackdrop = LevelBackground1;
    OptBackground = OptAltitudeMeter = 1;
    OptControls = kMouseControls;
    TargetFps = 23;
    Lives = 2;
    Shield = 1000;
    CraftRoll = CraftPitch = 4;
    CraftY = 2;
}

// The test pilot holds keys by plan and watches the game; it writes only its
// own variables.
struct KeyHold {
    int code;
    double from, until;
};
KeyHold Plan[4];
int PlanSteps = 0;
double WatchFrom = 0, WatchUntil = 0;
int Watched = 0;
bool WorldStood = true, PromptDimmed = true;
float SeenMap = 0, SeenScroll = 0, SeenCraftY = 0;
double TapEnterFrom = 1e9; // from then on Enter is tapped, as a player confirming screens
double ReadFpsAt = 0;
int32_t FirstFps = -1, FpsRead = -1;

void TestPilot(double now, InputState &state) {
    // A game that has not come back within a minute of play hangs: end it.
    if (now > HeadlessStart + 60) throw ProgramEnded{99};
    state.keys.fill(false);
    state.mouseX = 310;
    state.mouseY = 4;
    for (int i = 0; i < PlanSteps; ++i)
        if (now >= Plan[i].from && now < Plan[i].until) state.keys[Plan[i].code] = true;
    if (now >= TapEnterFrom && std::fmod(now - TapEnterFrom, 0.5) < 0.1)
        state.keys[kKeyEnter] = true;
    if (now >= WatchFrom && now < WatchUntil) {
        if (Watched++ == 0) {
            SeenMap = MapPosition;
            SeenScroll = ScrollOffset;
            SeenCraftY = CraftY;
        }
        WorldStood &= MapPosition == SeenMap && ScrollOffset == SeenScroll && CraftY == SeenCraftY;
        PromptDimmed &= FadeAlpha == 135;
    }
    if (FirstFps < 0) FirstFps = MeasuredFps; // the first poll follows the first count
    if (FpsRead < 0 && ReadFpsAt > 0 && now >= ReadFpsAt) FpsRead = MeasuredFps;
}

void Play(std::initializer_list<KeyHold> keys) {
    PlanSteps = 0;
    for (const KeyHold &k : keys)
        Plan[PlanSteps++] = k;
    UsePilot(TestPilot);
    ASSERT_EQ(HeadlessRun(RunGame), 0);
    // Back at the menu: its (white) picture faded in up to 240.
    EXPECT_EQ(FadeAlpha, 255);
    EXPECT_EQ(static_cast<uint32_t>(ReadPixel(320, 240)), 0xF0F0F0u);
}

TEST(GameLoop, EscThenNResumesWithTheWorldAsItStood) {
    SetUpGame();
    WatchFrom = kStart + 1.5;
    WatchUntil = kStart + 2.9;
    Play({{kKeyEsc, kStart + 1.0, kStart + 1.2},
          {kKeyN, kStart + 3.0, kStart + 3.1},
          {kKeyEsc, kStart + 5.0, kStart + 5.2},
          {kKeyY, kStart + 6.0, kStart + 6.1}});
    EXPECT_GT(Watched, 10);
    EXPECT_TRUE(WorldStood);
    EXPECT_TRUE(PromptDimmed);
    EXPECT_GT(MapPosition, SeenMap + 4); // the two seconds after N were played
    EXPECT_EQ(Lives, 2);
}

// The best-score file goes to a scratch folder of the test's own.
void WorkInScratchFolder(const char *name) {
    const auto folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
}

TEST(GameLoop, EscThenYAbandonsTheGameWithoutABestScore) {
    WorkInScratchFolder("halvane_play_abort");
    SetUpGame();
    Score = 50;
    HiScore = 10;
    Play({{kKeyEsc, kStart + 0.5, kStart + 0.6}, {kKeyY, kStart + 1.0, kStart + 1.1}});
    EXPECT_EQ(Lives, 2);
    EXPECT_EQ(HiScore, 10);
}

TEST(GameLoop, LosingTheLastLifeReachesTheMenuThroughTheBestScore) {
    WorkInScratchFolder("halvane_play_lost");
    SetUpGame();
    Lives = 0;
    Shield = 0.5f;
    Score = 50;
    HiScore = 10;
    TapEnterFrom = kStart;
    Play({});
    EXPECT_EQ(Lives, -1);
    EXPECT_EQ(HiScore, 50);
}

TEST(GameLoop, CompletingTheLastLevelReachesTheMenuThroughTheBestScore) {
    WorkInScratchFolder("halvane_play_completed");
    SetUpGame();
    LevelNumber = 5;
    EndPhase = 2;
    CraftZ = 9.95f; // the fly-out ends in the first frame
    HiScore = 0;
    TapEnterFrom = kStart;
    Play({});
    EXPECT_EQ(GameCompleted, 1);
    EXPECT_EQ(LevelNumber, 6);
    EXPECT_EQ(HiScore, 5);
}

// Presented pages that show both the green ground and the red spikes.
int ExplosionPages = 0;
void CountExplosionPages(const Page &page) {
    bool ground = false, spikes = false;
    for (int i = 0; i < 640 * 480; ++i) {
        const uint8_t *p = page.pixels + 4 * i;
        const uint32_t rgb = p[0] | p[1] << 8 | p[2] << 16;
        ground |= rgb == 0x00C000;
        spikes |= rgb == 0xFF0000;
    }
    ExplosionPages += ground && spikes;
}

TEST(GameLoop, ALostLifeExplodesOverTheSceneAndPlayGoesOn) {
    SetUpGame();
    Lives = 1;
    Shield = 0.5f;
    HeadlessSetObserver(CountExplosionPages);
    Play({{kKeyEsc, kStart + 1.0, kStart + 1.1}, {kKeyY, kStart + 1.5, kStart + 1.6}});
    HeadlessSetObserver(nullptr);
    EXPECT_EQ(ExplosionPages, 8);
    EXPECT_EQ(Lives, 0);
    EXPECT_EQ(Shield, 1000);
}

TEST(GameLoop, OneScreenshotPerPressOfS) {
    WorkInScratchFolder("halvane_play_shots");
    const auto folder = std::filesystem::current_path();
    SetUpGame();
    ScreenshotNumber = 1;
    Play({{kKeyS, kStart + 0.5, kStart + 1.0}, // held over many frames
          {kKeyS, kStart + 1.5, kStart + 1.6},
          {kKeyEsc, kStart + 2.0, kStart + 2.1},
          {kKeyY, kStart + 2.5, kStart + 2.6}});
    EXPECT_EQ(ScreenshotNumber, 3);
    EXPECT_TRUE(std::filesystem::exists(folder / "screenshot2.bmp"));
    EXPECT_FALSE(std::filesystem::exists(folder / "screenshot3.bmp"));
}

TEST(GameLoop, MeasuredRateHoldsEachGameSpeed) {
    double start = kStart;
    for (const int fps : {13, 23, 33, 45}) {
        start += 10;
        SetUpGame(start);
        TargetFps = fps;
        FirstFps = FpsRead = -1;
        ReadFpsAt = start + 3.5;
        Play({{kKeyEsc, start + 4.0, start + 4.1}, {kKeyY, start + 4.5, start + 4.6}});
        EXPECT_EQ(FirstFps, 1) << fps;
        EXPECT_NEAR(FpsRead, fps, 1) << fps;
    }
}

} // namespace
} // namespace halvane
