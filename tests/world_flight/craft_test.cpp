#include <cmath>
#include <vector>

#include "core/game_state.h"
#include "flight_fixture.h"
#include "world/craft.h"
#include "world/objects.h"
#include "world/terrain.h"
#include "world/world_update.h"

namespace halvane {
namespace {

using CraftTest = FlightTest;

void Frames(int n) {
    for (int i = 0; i < n; ++i) {
        UpdateCraft();
    }
}

TEST_F(CraftTest, MouseCursorIsClampedAndTheCraftSettlesOnItsTarget) {
    // Far bottom right: the cursor stops at (632, 296), the point 7.8 across
    // and 7.4 deep. The craft is clamped to 7 before each move, so it rests
    // an eighth of the remaining 0.8 beyond: 7.1, banked hard toward it.
    TestInput.mouseX = 700;
    TestInput.mouseY = 400;
    Frames(150);
    EXPECT_EQ(MouseX, 632);
    EXPECT_EQ(MouseY, 296);
    EXPECT_NEAR(CraftX, 7.1f, 0.0011f);
    EXPECT_NEAR(CraftY, -7.4f, 0.005f);
    EXPECT_EQ(CraftRoll, 1);
    EXPECT_EQ(CraftPitch, 4);

    // Top left: the cursor stops at (3, 4), the point -7.93 across, 0.1 deep.
    TestInput.mouseX = -50;
    TestInput.mouseY = 0;
    Frames(150);
    EXPECT_EQ(MouseX, 3);
    EXPECT_EQ(MouseY, 4);
    EXPECT_NEAR(CraftX, -7.116f, 0.0011f);
    EXPECT_NEAR(CraftY, -0.1f, 0.005f);
}

TEST_F(CraftTest, CursorTargetCoversTheStatedRangeExactly) {
    EXPECT_FLOAT_EQ(CursorTargetDepth(4), 0.1f);
    EXPECT_FLOAT_EQ(CursorTargetDepth(296), 7.4f);
    EXPECT_FLOAT_EQ(CursorTargetX(3), -7.93f);
    EXPECT_FLOAT_EQ(CursorTargetX(632), 7.8f);
    EXPECT_FLOAT_EQ(CursorTargetX(320), 0.0f);
    EXPECT_FLOAT_EQ(CursorTargetX(319), -0.03f); // -2.5 hundredths truncate downward
}

TEST_F(CraftTest, CraftPitchesTowardADeeperTargetAndLevelsOut) {
    CraftY = -1;
    TestInput.mouseY = 240; // depth 6
    UpdateCraft();
    EXPECT_EQ(CraftPitch, 9);
    Frames(100);
    EXPECT_EQ(CraftPitch, 4);
}

TEST_F(CraftTest, KeyboardCursorAcceleratesToTwentyAndStopsOnRelease) {
    OptControls = kKeyboardControls;
    TestInput.buttons = kMouseLeft; // the mouse is not read under keyboard controls
    TestInput.keys[kKeyRight] = true;
    int expected[] = {315, 325, 340, 360, 380, 400};
    for (int x : expected) {
        UpdateCraft();
        EXPECT_EQ(MouseX, x);
    }
    EXPECT_EQ(MouseButtons, -1);
    EXPECT_EQ(CraftZ, 0);

    TestInput.keys[kKeyRight] = false;
    UpdateCraft();
    EXPECT_EQ(MouseX, 400);
    EXPECT_EQ(CursorVelX, 0);

    // Down then Up: the speed swings through zero in steps of 5.
    TestInput.keys[kKeyDown] = true;
    Frames(2);
    EXPECT_EQ(MouseY, 4 + 5 + 10);
    TestInput.keys[kKeyDown] = false;
    TestInput.keys[kKeyUp] = true;
    UpdateCraft();
    EXPECT_EQ(CursorVelY, 5);
    EXPECT_EQ(MouseY, 24);
}

TEST_F(CraftTest, ForwardAndBackByButtonsOrKeys) {
    TestInput.buttons = kMouseLeft;
    Frames(10);
    EXPECT_NEAR(CraftZ, 2.0f, 1e-5f);
    Frames(60);
    EXPECT_EQ(CraftZ, 10); // held at the far limit

    // Two buttons together are neither left nor right.
    TestInput.buttons = kMouseLeft | kMouseRight;
    Frames(5);
    EXPECT_EQ(CraftZ, 10);

    // Under mouse controls V still works.
    TestInput.buttons = 0;
    TestInput.keys[kKeyV] = true;
    Frames(5);
    EXPECT_NEAR(CraftZ, 9.0f, 1e-5f);
    Frames(100);
    EXPECT_EQ(CraftZ, 0);
}

// Frames (1-based) in which a missile left, with fire held for `frames`.
std::vector<int> LaunchFrames(int frames) {
    std::vector<int> launches;
    for (int f = 1; f <= frames; ++f) {
        float before = MissileCount;
        UpdateWorld();
        if (MissileCount > before) {
            launches.push_back(f);
        }
        UpdateCraft();
    }
    return launches;
}

TEST_F(CraftTest, HeldFireLaunchesEveryNineFrames) {
    TestInput.keys[kKeySpace] = true;
    EXPECT_EQ(LaunchFrames(40), (std::vector<int>{2, 11, 20, 29, 38}));
}

TEST_F(CraftTest, MiddleButtonAloneFires) {
    TestInput.buttons = kMouseMiddle | kMouseLeft;
    EXPECT_TRUE(LaunchFrames(20).empty());
    TestInput.buttons = kMouseMiddle;
    EXPECT_EQ(LaunchFrames(12), (std::vector<int>{2, 11}));
}

TEST_F(CraftTest, ShotIsLostWithFourMissilesInFlight) {
    for (int i = 1; i <= 4; ++i) {
        Missile[i] = ObjectRecord{0, 6, 1, kSlotActive};
    }
    MissileCount = 4;
    TestInput.keys[kKeyEnter] = true;
    UpdateCraft();
    EXPECT_EQ(FireCooldown, 8); // accepted all the same
    UpdateWorld();
    EXPECT_EQ(MissileCount, 4);
    EXPECT_EQ(Missile[5].state, kSlotFree);
}

// Puts the craft below flat ground of depth 3 and runs one world update.
void ScrapeOnce() {
    GroundUnderCraft = 3;
    CraftY = -3.5f;
    UpdateWorld();
}

TEST_F(CraftTest, FullShieldSurvivesTwentyFourFramesOfScrapingButNotTwentyFive) {
    FillGround(3);
    for (int i = 0; i < 24; ++i) {
        ScrapeOnce();
        EXPECT_EQ(CraftY, -3); // put back on the surface
    }
    EXPECT_EQ(Shield, 40);
    EXPECT_EQ(Lives, 2);
    ScrapeOnce();
    EXPECT_EQ(Lives, 1);
    EXPECT_EQ(Shield, 1000);
    EXPECT_EQ(Invulnerable, 40);
}

TEST_F(CraftTest, ScrapingPushesTheCursorUpAndRepeatsItsSoundEveryFiveFrames) {
    FillGround(3);
    MouseY = 200;
    ScrapeOnce();
    EXPECT_EQ(MouseY, 180);
    EXPECT_EQ(ScrapeSoundDelay, 5);
    for (int i = 0; i < 3; ++i) {
        ScrapeOnce();
    }
    EXPECT_EQ(ScrapeSoundDelay, 2);

    // Keyboard controls with Down held: the cursor is pushed twice as far.
    OptControls = kKeyboardControls;
    TestInput.keys[kKeyDown] = true;
    MouseY = 200;
    ScrapeOnce();
    EXPECT_EQ(MouseY, 160);
}

TEST_F(CraftTest, InvulnerableCraftIsLiftedWithoutDamage) {
    FillGround(3);
    Invulnerable = 10;
    MouseY = 200;
    ScrapeOnce();
    EXPECT_EQ(CraftY, -3);
    EXPECT_EQ(MouseY, 180);
    EXPECT_EQ(Shield, 1000);
    EXPECT_EQ(ScrapeSoundDelay, 0);
}

TEST_F(CraftTest, ContactOutsideTheSideLimitsMovesTheCraftBackTo6) {
    FillGround(3);
    TerrainDepth[5][6] = 2;
    GroundUnderCraft = 1;
    CraftX = 6.3f; // within 6.4: lifted onto the old ground and moved
    CraftY = -1.5f;
    UpdateWorld();
    EXPECT_EQ(CraftX, 6);
    EXPECT_EQ(CraftY, -1);
    EXPECT_EQ(GroundUnderCraft, 2); // looked up again for column 6

    GroundUnderCraft = 1;
    CraftX = -6.9f; // beyond 6.4: moved sideways only
    CraftY = -1.5f;
    UpdateWorld();
    EXPECT_EQ(CraftX, -6);
    EXPECT_EQ(CraftY, -1.5f);
    EXPECT_EQ(Shield, 920);
}

TEST_F(CraftTest, CraftHeldAtTheBottomNeverEndsAFrameBelowTheGround) {
    ResetTerrain();
    TestInput.mouseY = 296; // 7.4 deep, below the half-pipe's bottom at 7
    int contacts = 0;
    for (int f = 0; f < 200; ++f) {
        float shield = Shield;
        UpdateWorld();
        if (Shield < shield) {
            ++contacts;
        }
        EXPECT_LE(-CraftY, GroundUnderCraft + 1e-6f);
        UpdateCraft();
    }
    EXPECT_GT(contacts, 0);
}

} // namespace
} // namespace halvane
