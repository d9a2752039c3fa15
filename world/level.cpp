#include "world/level.h"

#include <array>
#include <cmath>

#include "core/game_state.h"
#include "core/image_store.h"
#include "core/numbers.h"
#include "platform/audio.h"
#include "platform/random.h"
#include "platform/screen.h"
#include "screens/briefing.h"
#include "screens/end_game.h"
#include "screens/level_stats.h"
#include "world/craft.h"
#include "world/enemies.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {

namespace {

// Backdrop picture of each level: levels 1 and 3 share the first.
int BackdropOf(float level) {
    if (level == 2) {
        return LevelBackground2;
    }
    if (level == 4) {
        return LevelBackground3;
    }
    if (level == 5) {
        return LevelBackground4;
    }
    return LevelBackground1;
}

// Whether any cell of the collapsing rows 10..19 can still rise toward 7.
bool CollapseCanGoOn() {
    for (int r = kStructureFirstRow; r <= kStructureLastRow - 1; ++r) {
        for (int c = -kStructureSide; c <= kStructureSide; ++c) {
            if (TerrainDepth[r][c] < kCollapseFloor) {
                return true;
            }
        }
    }
    return false;
}

// Ten random cells of the collapsing rows sink by 0.1; a cell already at 7
// or deeper is passed over for another. Stops when none is left above 7,
// so that a structure dug deep everywhere cannot hold the frame forever.
void CollapseStructure() {
    for (int step = 0; step < kCollapseSteps; ++step) {
        if (!CollapseCanGoOn()) {
            return;
        }
        for (;;) {
            const int r = static_cast<int>(std::floor(10 * RandomUnit())) + kStructureFirstRow;
            const int c = static_cast<int>(std::floor(11 * RandomUnit())) - kStructureSide;
            if (TerrainDepth[r][c] < kCollapseFloor) {
                TerrainDepth[r][c] += kCollapseStepDepth;
                break;
            }
        }
    }
}

} // namespace

void LoadNextLevel() {
    Invulnerable = 0;
    LevelNumber += 1;
    LevelBackdrop = BackdropOf(LevelNumber);
    if (LevelNumber < 6) {
        ShowBriefing();
    } else if (LevelNumber == 6) {
        ShowEndGame();
    }
    GeneratedTerrain = 0;
    if (LevelNumber < 6) {
        const int level = RoundEven(LevelNumber);
        if (level >= 1 && level <= kLevelCount && LevelFileBroken[level] != 0) {
            // Only the colour codes are still read from the map: plain zeros.
            GeneratedTerrain = 1;
            for (int k = 1; k <= kLevelFieldsPerRow; ++k) {
                LevelMap[k].Fill(0);
            }
            return;
        }
        std::array<char, 32> name{};
        LevelFileName(level, name);
        LoadLevelFile(name.data());
    }
}

void ResetWorldForLevel() {
    // Every slot, so that ships launched at the end of an aborted level do
    // not live on into the next game.
    for (int i = 1; i <= kMissileSlots; ++i) {
        Missile[i].state = kSlotFree;
    }
    MissileCount = 0;
    for (int i = 1; i <= kShipSlots; ++i) {
        Ship[i].state = kSlotFree;
    }
    ShipCount = 0;
    for (int i = 1; i <= kMineSlots; ++i) {
        Mine[i].state = kSlotFree;
    }
    MineCount = 0;
    ResetTerrain();
}

void ResetCraftForLevel() {
    CraftX = 0;
    MissedShips = 0;
    MissedMines = 0;
    MapPosition = kMapStart;
    CraftZ = 0;
}

void ResetForLevel() {
    ResetWorldForLevel();
    ResetCraftForLevel();
}

float StructureSum() {
    float sum = 0;
    for (int r = kStructureFirstRow; r <= kStructureLastRow; ++r) {
        for (int c = -kStructureSide; c <= kStructureSide; ++c) {
            sum += TerrainDepth[r][c];
        }
    }
    return sum;
}

void CheckEndStructure() {
    if (!(MapPosition == kMapEnd && TravelSinceCheck >= kEndCheckEvery && EndPhase == 0)) {
        return;
    }
    ScrollOffset = 0;
    TravelSinceCheck = 0;
    LaunchEndPhaseShip();
    if (StructureSum() > kStructureFallsAbove) {
        EndPhase = 1;
        PlayEffect(SfxStructureDestroyed);
    }
}

void RunEndPhase() {
    if (!(EndPhase > 0)) {
        return;
    }
    CraftZ += kFlyOutStep;
    Score += kFlyOutPoints;
    if (EndPhase == 1) {
        // Every ship falls with the structure; none counts as missed.
        for (int i = 1; i <= kShipSlots; ++i) {
            Ship[i].state = kSlotDestroyed;
        }
        EndPhase = 2;
    }
    CollapseStructure();
    if (CraftZ > kFlyOutEnds) {
        GrabImage(0, 0, kScreenWidth - 1, kScreenHeight - 1, ScreenImages[CaptureImage]);
        ShowLevelStats();
        EndPhase = 0;
        LoadNextLevel();
    }
}

} // namespace halvane
