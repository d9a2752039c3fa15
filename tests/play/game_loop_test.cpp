// RunGame from its first frame to the menu: the Esc prompt, the ways a game
// ends, and the frame-rate read-out on the virtual clock.
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
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {
namespace {

constexpr double kStart = 100.0;

// A level of flat ground at depth 7, in green, on a white backdrop, with the
// craft launched as the menu launches it; the menu picture is white too.
void SetUpGame(double start = kStart) {
    OpenOffscreenPages(32);
    HeadlessSetClock(start);
    SetPages(1, 0);
    FillBox(0, 0, 639, 479, 0xFFFFFF);
    GrabImage(0, 0, 639, 479, ScreenImages[MenuBackground]);
    GrabImage(0, 0, 639, 479, ScreenImages[LevelBackground1]);
    ClearWorkPage();
    CraftModelScale = 0.1f;
    FillAngleTables();
    BuildCraftModels();
    BuildMineModel();
    BuildMissileModel();
    for (int row = 1; row <= kMapLastRow; ++row) {
        for (int k = 1; k <= 15; ++k)
            LevelMap[k][row] = 7;
        for (int k = 16; k <= 30; ++k)
            LevelMap[k][row] = 3;
    }
    ResetForLevel();
    SpeedFactor = 1;
    MissileSide = 0.5f;
    LevelNumber = 1;
    LevelBackdrop = LevelBackground1;
    OptBackground = 1;
    OptControls = kMouseControls;
    OptAltitudeMeter = 1;
    TargetFps = 23;
    Lives = 2;
    Shield = 1000;
    CraftRoll = CraftPitch = 4;
    CraftY = 2;
    MouseX = 310;
    MouseY = 4;
}

// What the test pilot is told and what it saw. It only reads the game.
struct Keys {
    int code;
    double from;
    double until;
};
Keys Plan[4];
int PlanSteps = 0;

struct WorldSnapshot {
    float scroll, map, craftX, craftY, score, ship1z, mine1z;
    bool operator==(const WorldSnapshot &) const = default;
};
WorldSnapshot TakeSnapshot() {
    return {ScrollOffset, MapPosition, CraftX, CraftY, Score, Ship[1].z, Mine[1].z};
}

double WatchFrom = 0, WatchUntil = 0;
bool Watched = false;
bool WorldStood = true;
bool PromptDimmed = true;
WorldSnapshot Seen{};
double ReadFpsAt[2] = {0, 0};
int32_t FpsRead[2] = {-1, -1};
int32_t FirstFps = -1;

void TestPilot(double now, InputState &state) {
    state.keys.fill(false);
    state.mouseX = 310;
    state.mouseY = 4;
    state.buttons = 0;
    for (int i = 0; i < PlanSteps; ++i) {
        if (now >= Plan[i].from && now < Plan[i].until) state.keys[Plan[i].code] = true;
    }
    if (now >= WatchFrom && now < WatchUntil) {
        const WorldSnapshot s = TakeSnapshot();
        if (!Watched) Seen = s;
        Watched = true;
        if (!(s == Seen)) WorldStood = false;
        if (FadeAlpha != 135) PromptDimmed = false;
    }
    if (FirstFps < 0) FirstFps = MeasuredFps; // the first poll comes after the first count
    for (int i = 0; i < 2; ++i) {
        if (FpsRead[i] < 0 && ReadFpsAt[i] > 0 && now >= ReadFpsAt[i]) FpsRead[i] = MeasuredFps;
    }
}

void RunWithPilot() {
    UsePilot(TestPilot);
    ASSERT_EQ(HeadlessRun(RunGame), 0);
}

// The menu picture (white) faded in to 240 when RunGame has returned.
void ExpectMenuFadedIn() {
    EXPECT_EQ(FadeAlpha, 255);
    EXPECT_EQ(static_cast<uint32_t>(ReadPixel(320, 240)), 0xF0F0F0u);
}

TEST(GameLoop, EscThenNResumesWithTheWorldAsItStood) {
    SetUpGame();
    Plan[0] = {kKeyEsc, kStart + 1.0, kStart + 1.2};
    Plan[1] = {kKeyN, kStart + 3.0, kStart + 3.1};
    Plan[2] = {kKeyEsc, kStart + 5.0, kStart + 5.2};
    Plan[3] = {kKeyY, kStart + 6.0, kStart + 6.1};
    PlanSteps = 4;
    WatchFrom = kStart + 1.5;
    WatchUntil = kStart + 2.9;
    RunWithPilot();
    EXPECT_TRUE(Watched);
    EXPECT_TRUE(WorldStood);
    EXPECT_TRUE(PromptDimmed);
    // After N the world went on: about 1.8 s of frames at 23 per second
    // moved the ground on by a few shifts.
    EXPECT_GT(MapPosition, Seen.map + 4);
    EXPECT_EQ(Lives, 2);
    ExpectMenuFadedIn();
}

TEST(GameLoop, EscThenYReturnsToTheMenu) {
    SetUpGame();
    Plan[0] = {kKeyEsc, kStart + 0.5, kStart + 0.6};
    Plan[1] = {kKeyY, kStart + 1.0, kStart + 1.1};
    PlanSteps = 2;
    RunWithPilot();
    EXPECT_EQ(Lives, 2);
    EXPECT_EQ(GameCompleted, 0);
    ExpectMenuFadedIn();
}

TEST(GameLoop, HoldingEscThroughNOpensThePromptAgain) {
    SetUpGame();
    Plan[0] = {kKeyEsc, kStart + 0.5, kStart + 2.0};
    Plan[1] = {kKeyN, kStart + 1.0, kStart + 1.1};
    Plan[2] = {kKeyY, kStart + 1.5, kStart + 1.6};
    PlanSteps = 3;
    const float mapBefore = MapPosition;
    RunWithPilot();
    // Y was seen, so the prompt was open again after N; a frame or two ran in
    // between, not the seconds of play a resumed game would have had.
    EXPECT_LT(MapPosition, mapBefore + 16);
    ExpectMenuFadedIn();
}

TEST(GameLoop, OneScreenshotPerPressOfS) {
    const auto folder = std::filesystem::temp_directory_path() / "halvane_play_shots";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    SetUpGame();
    ScreenshotNumber = 1;
    Plan[0] = {kKeyS, kStart + 0.5, kStart + 1.0}; // held for many frames
    Plan[1] = {kKeyS, kStart + 1.5, kStart + 1.6};
    Plan[2] = {kKeyEsc, kStart + 2.0, kStart + 2.1};
    Plan[3] = {kKeyY, kStart + 2.5, kStart + 2.6};
    PlanSteps = 4;
    RunWithPilot();
    EXPECT_EQ(ScreenshotNumber, 3);
    EXPECT_TRUE(std::filesystem::exists(folder / "screenshot1.bmp"));
    EXPECT_TRUE(std::filesystem::exists(folder / "screenshot2.bmp"));
    EXPECT_FALSE(std::filesystem::exists(folder / "screenshot3.bmp"));
}

TEST(GameLoop, LosingTheLastLifeReachesTheMenu) {
    SetUpGame();
    PlanSteps = 0;
    Lives = 0;
    Shield = 0.5f;
    RunWithPilot();
    EXPECT_EQ(Lives, -1);
    ExpectMenuFadedIn();
}

TEST(GameLoop, CompletingTheLastLevelSkipsTheClosingFade) {
    SetUpGame();
    PlanSteps = 0;
    LevelNumber = 5;
    EndPhase = 2;
    CraftZ = 9.95f;
    const uint64_t before = HeadlessPresentCount();
    RunWithPilot();
    EXPECT_EQ(GameCompleted, 1);
    EXPECT_EQ(LevelNumber, 6);
    // Only the 17 steps of the menu fade-in were shown.
    EXPECT_EQ(HeadlessPresentCount() - before, 17u);
    ExpectMenuFadedIn();
}

TEST(GameLoop, MeasuredRateHoldsEachGameSpeed) {
    double start = kStart;
    for (const int fps : {13, 23, 33, 45}) {
        start += 10;
        SetUpGame(start);
        TargetFps = fps;
        Plan[0] = {kKeyEsc, start + 5.0, start + 5.1};
        Plan[1] = {kKeyY, start + 5.5, start + 5.6};
        PlanSteps = 2;
        FirstFps = -1;
        ReadFpsAt[0] = start + 3.5;
        ReadFpsAt[1] = start + 4.5;
        FpsRead[0] = FpsRead[1] = -1;
        Lives = 2;
        Shield = 1000;
        RunWithPilot();
        EXPECT_EQ(FirstFps, 1) << fps;
        EXPECT_NEAR(FpsRead[0], fps, 1) << fps;
        EXPECT_NEAR(FpsRead[1], fps, 1) << fps;
    }
}

} // namespace
} // namespace halvane
