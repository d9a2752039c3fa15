#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

#include "app/pilots.h"
#include "core/game_state.h"
#include "platform/random.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "world/craft.h"
#include "world/level.h"
#include "world/missiles.h"
#include "world/terrain.h"
#include "world/world_update.h"

namespace halvane {

extern int LevelStatsShown; // counted by the stand-in of the statistics screen

namespace {

// Plays a shipped level frame by frame in the game loop's order (without
// drawing); returns the frame in which it was completed, or 0.
int PlayLevel(int level, int controls, double seed) {
    SeedRandom(seed);
    ResetPlayPilot();
    UsePilot(PlayPilot);
    TargetFps = 45, SpeedFactor = 1, MissileSide = 0.5f;
    OptControls = controls;
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

class LevelPilotTest : public ::testing::TestWithParam<int> {};

// Levels 1..5 under mouse controls, and 6: level 5 under keyboard controls.
TEST_P(LevelPilotTest, PilotCompletesTheLevelWithEverySeed) {
    ASSERT_EQ(chdir(HALVANE_SOURCE_DIR), 0); // the level files are read from here
    OpenOffscreenPages(32);
    const int level = std::min(GetParam(), 5);
    const int controls = GetParam() == 6 ? kKeyboardControls : kMouseControls;
    for (int seed = 1; seed <= 8; ++seed)
        EXPECT_GT(PlayLevel(level, controls, seed * 7919.0), 0)
            << "level " << level << " seed " << seed << ", lives " << Lives;
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, LevelPilotTest, ::testing::Range(1, 7));

} // namespace
} // namespace halvane
