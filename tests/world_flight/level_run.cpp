#include "level_run.h"

#include <algorithm>
#include <cmath>

#include "app/pilot_play.h"
#include "core/game_state.h"
#include "flight_fixture.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/timing.h"
#include "world/craft.h"
#include "world/level.h"
#include "world/missiles.h"
#include "world/terrain.h"
#include "world/world_update.h"

namespace halvane {

LevelRunResult RunLevelWithPilot(int level, int controls, double seed, int frameLimit) {
    LevelRunResult result;
    SeedRandom(seed);
    ResetPlayPilot();
    UsePilot(PlayPilot);
    TargetFps = 45;
    SpeedFactor = 1;
    OptControls = controls;
    Score = 0;
    Lives = 2;
    Shield = 1000;
    CraftX = 0;
    CraftY = 2;
    CraftZ = 0;
    CraftRoll = CraftPitch = 4;
    MissileSide = 0.5f;
    EndPhase = 0;
    GameCompleted = 0;

    // What the launch sequence does: the per-level reset, then the next
    // level's briefing (a stand-in that ends with RespawnCraft) and file.
    ResetForLevel();
    LevelNumber = static_cast<float>(level - 1);
    LoadNextLevel();
    int statsBefore = LevelStatsShown;

    bool structureSeen = false;
    for (int frame = 1; frame <= frameLimit; ++frame) {
        Invulnerable = std::max(Invulnerable - 1, 0);
        AnimCycle6 = AnimCycle6 % 6 + 1;
        AnimCycle20 = AnimCycle20 % 20 + 1;

        float shieldBefore = Shield;
        float livesBefore = Lives;
        float structureBefore = StructureSum();
        UpdateWorld();
        if (Lives < livesBefore) {
            result.livesLost += 1;
            result.shieldLost += shieldBefore;
        } else {
            result.shieldLost += shieldBefore - Shield;
        }
        if (Lives < 0) {
            result.frames = frame;
            return result;
        }
        // Count the impacts on the structure while it stands at the end;
        // one crater adds 3.0 (less at its edges).
        if (MapPosition == kMapEnd && EndPhase == 0) {
            if (!structureSeen) {
                structureSeen = true;
                result.structureStart = structureBefore;
                result.restFrame = frame;
            }
            float added = StructureSum() - structureBefore;
            if (added > 0.01f) {
                result.structureHits += std::max(1, static_cast<int>(std::lround(added / 3)));
            }
        }

        AdvanceTerrain();
        if (EndPhase > 0) {
            RunEndPhase();
            if (LevelStatsShown != statsBefore) {
                result.completed = true;
                result.frames = frame;
                return result;
            }
        }
        CheckEndStructure();
        UpdateCraft();
        ShiftTerrain();
        WaitFrame();
    }
    result.frames = frameLimit;
    return result;
}

} // namespace halvane
