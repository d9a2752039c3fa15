#include <utility>
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
    for (int i = 0; i < n; ++i)
        UpdateCraft();
}

TEST_F(CraftTest, MouseCursorIsClampedAndTheCraftSettlesOnItsTarget) {
    // Clamped to 7 before each move, the craft rests an eighth of 0.8 beyond it.
    TestInput.mouseX = 700, TestInput.mouseY = 400;
    Frames(150);
    EXPECT_EQ(std::pair(MouseX, MouseY), std::pair(632, 296));
    EXPECT_NEAR(CraftX, 7.1f, 0.0011f);
    EXPECT_NEAR(CraftY, -7.4f, 0.005f);
    EXPECT_EQ(CraftRoll, 1); // banked hard
    TestInput.mouseX = -50, TestInput.mouseY = 0;
    Frames(150);
    EXPECT_EQ(std::pair(MouseX, MouseY), std::pair(3, 4));
    EXPECT_NEAR(CraftX, -7.116f, 0.0011f);
    EXPECT_FLOAT_EQ(CursorTargetDepth(4), 0.1f);
    EXPECT_FLOAT_EQ(CursorTargetX(319), -0.03f);
}

TEST_F(CraftTest, KeyboardCursorAcceleratesToTwentyAndStopsOnRelease) {
    OptControls = kKeyboardControls;
    TestInput.buttons = kMouseLeft; // the mouse is not read under keyboard controls
    TestInput.keys[kKeyRight] = true;
    for (int x : {315, 325, 340, 360, 380, 400, 400}) {
        UpdateCraft();
        EXPECT_EQ(MouseX, x);
        TestInput.keys[kKeyRight] = x < 400;
    }
    EXPECT_EQ(CraftZ, 0);
    TestInput.keys[kKeyDown] = true; // down twice, then up: back through 5
    Frames(2);
    TestInput.keys[kKeyDown] = false, TestInput.keys[kKeyUp] = true;
    UpdateCraft();
    EXPECT_EQ(MouseY, 4 + 5 + 10 + 5);
}

TEST_F(CraftTest, ForwardAndBackByButtonsOrKeys) {
    const struct {
        int buttons, frames;
        bool keyV;
        float z;
    } steps[] = {{kMouseLeft, 10, false, 2},
                 {kMouseLeft, 60, false, 10},
                 {kMouseLeft | kMouseRight, 5, false, 10}, // neither forward nor back
                 {0, 5, true, 9},
                 {0, 100, true, 0}}; // V works under mouse controls
    for (const auto &s : steps) {
        TestInput.buttons = s.buttons, TestInput.keys[kKeyV] = s.keyV;
        Frames(s.frames);
        EXPECT_NEAR(CraftZ, s.z, 1e-5f) << s.buttons << " " << s.frames;
    }
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

TEST_F(CraftTest, HeldFireLaunchesEveryNineFramesAndNeverAFifthMissile) {
    TestInput.keys[kKeySpace] = true;
    EXPECT_EQ(LaunchFrames(40), (std::vector<int>{2, 11, 20, 29, 38}));
    TestInput.keys[kKeySpace] = false;
    TestInput.buttons = kMouseMiddle | kMouseLeft; // the middle button fires only alone
    EXPECT_TRUE(LaunchFrames(30).empty());
    TestInput.buttons = kMouseMiddle;
    EXPECT_EQ(LaunchFrames(12), (std::vector<int>{2, 11}));
    for (int i = 1; i <= 4; ++i)
        Missile[i] = ObjectRecord{0, 6, 1, kSlotActive};
    MissileCount = 4;
    FireCooldown = 0;
    UpdateCraft();
    EXPECT_EQ(FireCooldown, 8); // the shot is accepted, but no missile leaves
    UpdateWorld();
    EXPECT_EQ(MissileCount, 4);
}

// The craft half a unit below flat ground 3 deep, for one update.
void ScrapeOnce() {
    GroundUnderCraft = 3;
    CraftY = -3.5f;
    UpdateWorld();
}

TEST_F(CraftTest, FullShieldSurvivesTwentyFourFramesOfScrapingButNotTwentyFive) {
    FillGround(3);
    MouseY = 250;
    for (int i = 0; i < 24; ++i) {
        ScrapeOnce();
        EXPECT_EQ(CraftY, -3); // put back on the surface
    }
    EXPECT_EQ(Shield, 40);
    EXPECT_EQ(MouseY, 250 - 24 * 20);
    EXPECT_EQ(ScrapeSoundDelay, 2); // the sound repeats every five frames
    ScrapeOnce();
    EXPECT_EQ(Lives, 1);
    // Invulnerable: still lifted and pushed, but no damage and no sound.
    MouseY = 200;
    ScrapeOnce();
    EXPECT_EQ(CraftY, -3);
    EXPECT_EQ(MouseY, 180);
    EXPECT_EQ(Shield, 1000);
    EXPECT_EQ(ScrapeSoundDelay, 0);
    OptControls = kKeyboardControls; // with Down held: pushed twice as far
    TestInput.keys[kKeyDown] = true;
    ScrapeOnce();
    EXPECT_EQ(MouseY, 140);
}

TEST_F(CraftTest, ContactOutsideTheSideLimitsMovesTheCraftBackToSix) {
    FillGround(3);
    TerrainDepth[5][6] = 2;
    GroundUnderCraft = 1;
    CraftX = 6.3f, CraftY = -1.5f; // within 6.4: lifted onto the old ground and moved
    UpdateWorld();
    EXPECT_EQ(CraftX, 6);
    EXPECT_EQ(CraftY, -1);
    EXPECT_EQ(GroundUnderCraft, 2); // looked up again for column 6
    GroundUnderCraft = 1;
    CraftX = -6.9f, CraftY = -1.5f; // beyond 6.4: moved sideways only
    UpdateWorld();
    EXPECT_EQ(CraftX, -6);
    EXPECT_EQ(CraftY, -1.5f);
    EXPECT_EQ(Shield, 920);
}

} // namespace
} // namespace halvane
