// The craft, its missiles, the ground and the ships and mines, stepped without a
// window on held input; then the automatic pilot plays every shipped level.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "app/pilots.h"
#include "core/game_state.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "render/terrain_view.h"
#include "screens/briefing.h"
#include "screens/end_game.h"
#include "screens/game_over.h"
#include "screens/level_stats.h"
#include "world/craft.h"
#include "world/enemies.h"
#include "world/level.h"
#include "world/lives.h"
#include "world/missiles.h"
#include "world/objects.h"
#include "world/terrain.h"
#include "world/world_update.h"

namespace halvane {

// The screens only count and do the world's share; the explosion draws nothing.
int GameOverShown = 0, LevelStatsShown = 0;
void ShowGameOver() {
    ++GameOverShown;
}
void ShowLevelStats() {
    ++LevelStatsShown, ResetForLevel();
}
void ShowBriefing() {
    RespawnCraft();
}
void ShowEndGame() {}
void DrawScene() {}
void DrawCraftLayer() {}

namespace {

InputState TestInput; // copied into the input source at every poll

void FillGround(float depth) {
    for (int r = kWindowFirstRow; r <= kWindowLastRow; ++r)
        TerrainDepth[r].Fill(depth);
}

void CraftFrames(int n) {
    for (int i = 0; i < n; ++i)
        UpdateCraft();
}

// The craft at rest over a flat channel 50 deep, under mouse controls.
class FlightTest : public ::testing::Test {
  protected:
    void SetUp() override {
        OpenOffscreenPages(32);
        UsePilot([](double, InputState &state) { state = TestInput; });
        SpeedFactor = 1, OptControls = kMouseControls, Shield = 1000, Lives = 2;
        MissileSide = 0.5f, CraftY = -2, CraftRoll = CraftPitch = 4;
        MouseX = kCursorHomeX, MouseY = kCursorHomeY, GroundUnderCraft = 50;
        FillGround(50);
    }
};

TEST_F(FlightTest, CursorIsClampedTheCraftSettlesOnItsTargetAndButtonsOrKeysMoveIt) {
    // Clamped to 7 before each move, the craft rests an eighth of 0.8 beyond it.
    TestInput.mouseX = 700, TestInput.mouseY = 400;
    CraftFrames(150);
    EXPECT_EQ(std::tuple(MouseX, MouseY, CraftRoll), std::tuple(632, 296, 1)); // banked hard
    EXPECT_TRUE(std::abs(CraftX - 7.1f) < 0.0011f && std::abs(CraftY + 7.4f) < 0.005f)
        << CraftX << ", " << CraftY;
    TestInput.mouseX = -50, TestInput.mouseY = 0;
    CraftFrames(150);
    EXPECT_EQ(std::pair(MouseX, MouseY), std::pair(3, 4));
    EXPECT_NEAR(CraftX, -7.116f, 0.0011f);
    EXPECT_EQ(std::pair(CursorTargetDepth(4), CursorTargetX(319)), std::pair(0.1f, -0.03f));
    // Forward and back by the buttons (both at once: neither); back by V under
    // mouse controls too.
    const std::tuple<int, int, bool, float> steps[] = {{kMouseLeft, 10, false, 2},
                                                       {kMouseLeft, 60, false, 10},
                                                       {kMouseLeft | kMouseRight, 5, false, 10},
                                                       {0, 5, true, 9},
                                                       {0, 100, true, 0}};
    for (auto [buttons, frames, keyV, z] : steps) {
        TestInput.buttons = buttons, TestInput.keys[kKeyV] = keyV;
        CraftFrames(frames);
        EXPECT_NEAR(CraftZ, z, 1e-5f) << buttons << " " << frames;
    }
    // The keyboard cursor accelerates to 20 and stops on release; the mouse is
    // not read under keyboard controls.
    OptControls = kKeyboardControls, MouseX = kCursorHomeX, MouseY = kCursorHomeY;
    TestInput = {}, TestInput.buttons = kMouseLeft, TestInput.keys[kKeyRight] = true;
    for (int x : {315, 325, 340, 360, 380, 400, 400}) {
        UpdateCraft();
        EXPECT_EQ(MouseX, x);
        TestInput.keys[kKeyRight] = x < 400;
    }
    EXPECT_NEAR(CraftZ, 0, 1e-5f);
    TestInput.keys[kKeyDown] = true; // down twice, then up: back through 5
    CraftFrames(2);
    TestInput.keys[kKeyDown] = false, TestInput.keys[kKeyUp] = true;
    UpdateCraft();
    EXPECT_EQ(MouseY, 4 + 5 + 10 + 5);
}

// Frames (1-based) in which a missile left, with the fire input held.
std::vector<int> LaunchFrames(int frames) {
    std::vector<int> launches;
    for (int f = 1; f <= frames; ++f) {
        float before = MissileCount;
        UpdateWorld();
        if (MissileCount > before) launches.push_back(f);
        UpdateCraft();
    }
    return launches;
}

TEST_F(FlightTest, HeldFireLaunchesEveryNineFramesIntoTheLowestFreeSlotButNeverAFifth) {
    TestInput.keys[kKeySpace] = true;
    EXPECT_EQ(LaunchFrames(40), (std::vector<int>{2, 11, 20, 29, 38}));
    // The middle button fires only alone.
    TestInput.keys[kKeySpace] = false, TestInput.buttons = kMouseMiddle | kMouseLeft;
    EXPECT_TRUE(LaunchFrames(30).empty());
    TestInput.buttons = kMouseMiddle;
    EXPECT_EQ(LaunchFrames(12), (std::vector<int>{2, 11}));
    // A destroyed missile's slot is not free yet, and the launchers take turns.
    for (int i = 1; i <= kMissileSlots; ++i)
        Missile[i] = {0, 6, 1, i == 3 ? kSlotDestroyed : (i < 5 ? kSlotActive : kSlotFree)};
    MissileCount = 3, CraftX = 0, CraftY = -2, MissileSide = -0.5f, FireCooldown = kMissileLeavesAt;
    LaunchMissile();
    EXPECT_EQ(std::tuple(Missile[5].state, Missile[5].x, MissileSide), std::tuple(1, -0.5f, 0.5f));
    FireCooldown = 0; // four in flight: the shot is accepted, but no missile leaves
    UpdateCraft();
    EXPECT_EQ(FireCooldown, 8);
    UpdateWorld();
    EXPECT_EQ(MissileCount, 4);
}

// One world update that launches a missile, with the fire input spent after.
void LaunchOne() {
    FireCooldown = kMissileLeavesAt;
    UpdateWorld();
    FireCooldown = 0;
}

TEST_F(FlightTest, LevelShotFliesSixTenthsOfARowPerFrameAlongItsArcUnlessTheGroundStopsIt) {
    LaunchOne();
    EXPECT_EQ(std::tuple(Missile[1].state, Missile[1].x), std::tuple(kSlotActive, 0.5f));
    EXPECT_NEAR(Missile[1].z, 5.6f, 1e-5f);
    // It sinks while nearer than row 15 and rises beyond: deepest 0.392 below 1.9.
    float deepest = Missile[1].y;
    int frames = 1;
    for (; Missile[1].state == kSlotActive; ++frames) {
        ObjectRecord before = Missile[1];
        UpdateWorld();
        if (Missile[1].state == kSlotActive) {
            EXPECT_NEAR(Missile[1].z, before.z + 0.6f, 1e-4f);
            EXPECT_EQ(Missile[1].y > before.y, Missile[1].z < 15) << Missile[1].z;
            deepest = std::max(deepest, Missile[1].y);
        }
    }
    EXPECT_NEAR(deepest, 1.9f + 0.392f, 1e-4f);
    EXPECT_EQ(std::pair(frames, MissileCount), std::pair(25, 0.0f)); // ended past row 19
    UpdateWorld();
    EXPECT_EQ(Missile[1].state, kSlotFree);

    // Launched below ground it bursts the next frame at (-0.5, 5.6): a crater on (6, 0).
    FillGround(1);
    LaunchOne();
    EXPECT_EQ(TerrainDepth[6][0], 1);
    UpdateWorld();
    EXPECT_EQ(std::pair(Missile[1].state, TerrainDepth[6][0]), std::pair(kSlotDestroyed, 1.75f));
    // Shots from beyond the side limits burst without digging.
    FillGround(1);
    for (float side : {7.12f, -7.12f}) {
        CraftX = side, MissileSide = side > 0 ? 0.5f : -0.5f;
        LaunchOne();
        UpdateWorld();
        EXPECT_EQ(Missile[1].state, kSlotDestroyed);
    }
    for (int r = 0; r <= 20; ++r)
        for (int c = -7; c <= 7; ++c)
            ASSERT_EQ(TerrainDepth[r][c], 1) << r << "," << c;
}

TEST_F(FlightTest, OnlyTheLowerNumberedOfTwoMissilesScoresOnOneTarget) {
    Ship[3] = {1, 10, 2, kSlotActive}, Mine[2] = {-3, 12, 4, kSlotActive};
    Missile[2] = {1.5f, 10.5f, 2.5f, kSlotActive}, Missile[5] = {0.5f, 9.5f, 1.5f, kSlotActive};
    Missile[1] = {-3.7f, 12, 4, kSlotActive}, Missile[4] = {-2.5f, 12.7f, 3.3f, kSlotActive};
    ShipCount = MineCount = 1, MissileCount = 4;
    UpdateWorld();
    EXPECT_EQ(Score, 15);
    EXPECT_EQ(Ship[3].state + Mine[2].state + Missile[2].state + Missile[1].state,
              4 * kSlotDestroyed);
    EXPECT_EQ(Missile[5].state + Missile[4].state, 2 * kSlotActive);
    EXPECT_EQ(MissileCount + ShipCount + MineCount, 2);
}

// The craft half a unit below flat ground 3 deep, for one update.
void ScrapeOnce() {
    GroundUnderCraft = 3, CraftY = -3.5f;
    UpdateWorld();
}

TEST_F(FlightTest, GroundContactLiftsAndPushesUpAndAFullShieldLastsTwentyFourFrames) {
    FillGround(3);
    MouseY = 250;
    for (int i = 0; i < 24; ++i) {
        ScrapeOnce();
        EXPECT_EQ(CraftY, -3); // put back on the surface
    }
    // The sound repeats every five frames.
    EXPECT_EQ(std::tuple(Shield, MouseY, ScrapeSoundDelay), std::tuple(40, 250 - 24 * 20, 2));
    ScrapeOnce();
    EXPECT_EQ(Lives, 1);
    // Invulnerable: still lifted and pushed, but no damage and no sound.
    MouseY = 200;
    ScrapeOnce();
    EXPECT_EQ(std::tuple(CraftY, MouseY, Shield, ScrapeSoundDelay), std::tuple(-3, 180, 1000, 0));
    OptControls = kKeyboardControls, TestInput.keys[kKeyDown] = true; // pushed twice as far
    ScrapeOnce();
    EXPECT_EQ(MouseY, 140);
    // Outside the side limits: back to 6 over column 6's ground; lifted too within 6.4.
    TerrainDepth[5][6] = 2;
    GroundUnderCraft = 1, Invulnerable = 0, CraftX = 6.3f, CraftY = -1.5f;
    UpdateWorld();
    EXPECT_EQ(std::tuple(CraftX, CraftY, GroundUnderCraft), std::tuple(6, -1, 2));
    GroundUnderCraft = 1, CraftX = -6.9f, CraftY = -1.5f; // beyond 6.4: moved sideways only
    UpdateWorld();
    EXPECT_EQ(std::tuple(CraftX, CraftY, Shield), std::tuple(-6, -1.5f, 920));
}

// A ship (odd calls) or mine (even) in the craft's collision window, as creation would put it.
void PlaceRammer(int call) {
    const float x = CraftX, z = kCraftRow + CraftZ, depth = -CraftY;
    if (call % 2 == 1)
        Ship[LowestFreeSlot(Ship, kShipSlots)] = {x + 0.9f, z + 0.75f, depth - 0.4f, kSlotActive};
    else
        Mine[LowestFreeSlot(Mine, kMineSlots)] = {x - 0.9f, z + 0.1f, depth + 0.4f, kSlotActive};
    (call % 2 == 1 ? ShipCount : MineCount) += 1;
}

TEST_F(FlightTest, RamsCostAHundredDamageIsSummedAndOnlyTheCollisionWindowCounts) {
    for (int ram = 1; ram <= 9; ++ram) {
        PlaceRammer(ram);
        UpdateWorld();
        EXPECT_EQ(Shield, 1000 - 100 * ram);
    }
    EXPECT_EQ(ShipCount + MineCount + MissedShips + MissedMines + Score, 0);
    PlaceRammer(10);
    UpdateWorld();
    EXPECT_EQ(std::tuple(Lives, Shield, Invulnerable, GameOverShown), std::tuple(1, 1000, 40, 0));
    Lives = Invulnerable = 0, Shield = 50; // the last life: game over, no refill
    PlaceRammer(1);
    UpdateWorld();
    EXPECT_EQ(std::tuple(Lives, Shield, GameOverShown), std::tuple(-1, -50, 1));
    // A frame's damage is summed: a ram and ground contact take 140, and 1 left survives.
    Lives = 2, Shield = 141, Ship[1].state = kSlotFree; // the last rammer's slot
    PlaceRammer(1);
    GroundUnderCraft = 1, CraftY = -1.5f;
    Ship[1].y = 1.5f; // the ram is tested before the craft is lifted
    UpdateWorld();
    EXPECT_EQ(std::pair(Shield, Lives), std::pair(1.0f, 2.0f));
    Invulnerable = 5; // rammers are destroyed all the same, without damage
    PlaceRammer(1);
    PlaceRammer(2);
    UpdateWorld();
    EXPECT_EQ(std::pair(Shield, ShipCount + MineCount), std::pair(1.0f, 0.0f));
    // Just outside the window they pass; behind the viewer they are missed once, and freed.
    const float depth = -CraftY;
    Ship[1] = {CraftX, 5.5f, depth, kSlotActive};        // not yet 0.5 ahead
    Ship[2] = {CraftX + 1, 5.8f, depth, kSlotActive};    // a full unit aside
    Mine[1] = {CraftX, 5.9f, depth + 0.5f, kSlotActive}; // half a unit below
    Ship[3] = Mine[4] = {0, 0.1f, 1, kSlotActive};
    ShipCount = 3, MineCount = 2, Invulnerable = 0;
    for (int i = 0; i < 3; ++i)
        UpdateWorld();
    EXPECT_EQ(std::tuple(Shield, ShipCount, MineCount, MissedShips, MissedMines),
              std::tuple(1, 2, 1, 1, 1));
    EXPECT_EQ(Ship[3].state + Mine[4].state, kSlotFree);
}

// Mines sit on whole columns of the far rows until 260; the end phase fills all ten ship slots.
TEST_F(FlightTest, NewEnemiesAppearAtTheFarEndWithinTheirLimits) {
    SeedRandom(3);
    for (float mapPosition : {258, 260, 280}) {
        MapPosition = mapPosition;
        int made = 0;
        for (int shift = 0; shift < 200; ++shift, MineCount = 0) {
            SpawnEnemies();
            for (int i = 1; i <= kMineSlots; ++i) {
                if (Mine[i].state != kSlotActive) continue;
                EXPECT_TRUE(Mine[i].x == std::floor(Mine[i].x) &&
                            (Mine[i].z == 19 || Mine[i].z == 20) && Mine[i].y <= 50);
                Mine[i].state = kSlotFree, ++made;
            }
        }
        EXPECT_TRUE(mapPosition < 260 ? made > 100 : made == 0) << mapPosition << ": " << made;
    }
    EXPECT_EQ(ShipCount, 5);
    for (int check = 0; check < 200; ++check)
        LaunchEndPhaseShip();
    EXPECT_EQ(ShipCount, 10);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(std::pair(Ship[i].state, Ship[i].z), std::pair(kSlotActive, 20.0f));
        EXPECT_TRUE(Ship[i].x >= -5 && Ship[i].x < 6) << Ship[i].x;
    }
}

TEST_F(FlightTest, ShipHomesOnTheCraftUntilRowTenThenFliesStraight) {
    CraftX = 3, CraftY = -5, ShipCount = 1;
    Ship[1] = {-5, 20, 1, kSlotActive};
    MoveShips(); // a fifteenth of 8, to hundredths; far to the left and above: clamped
    EXPECT_EQ(std::tuple(Ship[1].x, Ship[1].y, ShipRoll[1], ShipPitch[1]),
              std::tuple(-4.47f, 1.27f, 1, 7));
    while (Ship[1].z > 10)
        MoveShips();
    FillGround(0.5f); // ships skim over ground higher than their course
    const float x = Ship[1].x, y = Ship[1].y;
    EXPECT_TRUE(x > 0 && x < 3 && y > 0.5f) << x << " " << y;
    EXPECT_EQ(std::pair(ShipRoll[1], ShipPitch[1]), std::pair(4.0f, 4.0f));
    CraftX = -3; // too late to follow
    for (int i = 0; i < 20; ++i)
        MoveShips();
    EXPECT_EQ(std::pair(Ship[1].x, Ship[1].y), std::pair(x, 0.5f));
}

// Plays a shipped level in the game loop's order, undrawn; the frame it ended in, or 0.
int PlayLevel(int level, int controls, double seed) {
    SeedRandom(seed);
    ResetPlayPilot();
    UsePilot(PlayPilot);
    TargetFps = 45, OptControls = controls;
    LevelStatsShown = 0, Lives = 2, Shield = 1000, CraftY = 2;
    ResetForLevel();
    LevelNumber = static_cast<float>(level - 1);
    LoadNextLevel();
    for (int frame = 1; frame <= 6000 && Lives >= 0; ++frame) {
        Invulnerable = std::max(Invulnerable - 1, 0);
        AnimCycle6 = AnimCycle6 % 6 + 1;
        AnimCycle20 = AnimCycle20 % 20 + 1;
        UpdateWorld();
        AdvanceTerrain();
        if (EndPhase > 0) {
            RunEndPhase();
            if (LevelStatsShown > 0) return frame;
        }
        CheckEndStructure();
        UpdateCraft();
        ShiftTerrain();
        WaitFrame();
    }
    return 0;
}

class LevelPilotTest : public FlightTest, public ::testing::WithParamInterface<int> {};

// Levels 1..5 under mouse controls, and 6: level 5 under keyboard controls.
TEST_P(LevelPilotTest, PilotCompletesTheLevelWithEverySeed) {
    ASSERT_EQ(chdir(HALVANE_SOURCE_DIR), 0); // the level files are read from here
    const int level = std::min(GetParam(), 5);
    const int controls = GetParam() == 6 ? kKeyboardControls : kMouseControls;
    for (int seed = 1; seed <= 8; ++seed)
        EXPECT_GT(PlayLevel(level, controls, seed * 7919.0), 0)
            << "level " << level << " seed " << seed << ", lives " << Lives;
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, LevelPilotTest, ::testing::Range(1, 7));

} // namespace
} // namespace halvane
