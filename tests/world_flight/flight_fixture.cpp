#include "flight_fixture.h"

#include "core/game_state.h"
#include "platform/screen.h"
#include "render/terrain_view.h"
#include "screens/briefing.h"
#include "screens/end_game.h"
#include "screens/game_over.h"
#include "screens/level_stats.h"
#include "world/craft.h"
#include "world/level.h"
#include "world/lives.h"
#include "world/missiles.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {

InputState TestInput;
int GameOverShown = 0;
int LevelStatsShown = 0;

// The screens only count, apart from the world's own share of their work.
void ShowGameOver() {
    ++GameOverShown;
}
void ShowLevelStats() {
    ++LevelStatsShown;
    ResetForLevel();
}
void ShowBriefing() {
    RespawnCraft();
}
void ShowEndGame() {
    GameCompleted = 1;
}
// The lost life's explosion draws the scene through the renderer.
void DrawScene() {}
void DrawCraftLayer() {}

namespace {
void FollowTestInput(double, InputState &state) {
    state = TestInput;
}
} // namespace

void FillGround(float depth) {
    for (int r = kWindowFirstRow; r <= kWindowLastRow; ++r)
        TerrainDepth[r].Fill(depth);
}

void FlightTest::SetUp() {
    OpenOffscreenPages(32);
    TestInput = InputState{};
    UsePilot(FollowTestInput);
    SpeedFactor = 1;
    OptControls = kMouseControls;
    Shield = 1000, Lives = 2, MissileSide = 0.5f, CraftY = -2;
    CraftRoll = CraftPitch = 4;
    MouseX = kCursorHomeX, MouseY = kCursorHomeY;
    FillGround(50);
    GroundUnderCraft = 50;
}

} // namespace halvane
