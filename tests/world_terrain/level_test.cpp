#include <gtest/gtest.h>

#include "core/game_state.h"
#include "platform/random.h"
#include "tests/world_terrain/stand_ins.h"
#include "world/craft.h"
#include "world/level.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {
namespace {

// Runs the terrain's share of frames (advance, end steps, shift) until the
// structure falls or the frames run out; returns the frames played.
int PlayTerrainFrames(int limit) {
    int frames = 0;
    while (frames < limit && EndPhase == 0) {
        AdvanceTerrain();
        CheckEndStructure();
        ShiftTerrain();
        ++frames;
    }
    return frames;
}

void SetStructure(float depth) {
    for (int r = 10; r <= 20; ++r) {
        for (int c = -5; c <= 5; ++c) {
            TerrainDepth[r][c] = depth;
        }
    }
}

TEST(LevelProgression, ResetFreesEverySlotAndPutsTheCraftAtTheStart) {
    // Ships 6..10 live only at a level's end; an aborted game leaves them.
    for (int i = 1; i <= kShipSlots; ++i) {
        Ship[i].state = Mine[i].state = i % 2 == 0 ? kSlotActive : kSlotDestroyed;
        Missile[(i - 1) % kMissileSlots + 1].state = kSlotActive;
    }
    ShipCount = MineCount = 5;
    MissileCount = 8;
    CraftX = 3;
    CraftZ = 7;
    MissedShips = MissedMines = 4;
    MapPosition = 280;
    ScrollOffset = -1.2f;
    EndWarningPlayed = 1;

    ResetForLevel();
    for (int i = 1; i <= kShipSlots; ++i) {
        EXPECT_EQ(Ship[i].state + Mine[i].state, kSlotFree) << "slot " << i;
    }
    for (int i = 1; i <= kMissileSlots; ++i) {
        EXPECT_EQ(Missile[i].state, kSlotFree) << "missile " << i;
    }
    EXPECT_EQ(ShipCount + MineCount + MissileCount, 0);
    EXPECT_EQ(CraftX + CraftZ + MissedShips + MissedMines, 0);
    EXPECT_EQ(MapPosition, -20);
    EXPECT_FLOAT_EQ(TerrainDepth[15][0], 7);
    // What the next level carries over.
    EXPECT_EQ(ScrollOffset, -1.2f);
    EXPECT_EQ(EndWarningPlayed, 1);
}

TEST(LevelProgression, EachLevelHasItsBackdropAndTheSixthEndsTheGame) {
    const int backdrops[] = {2, 3, 2, 4, 5};
    LevelNumber = 0;
    for (int level = 1; level <= 5; ++level) {
        Invulnerable = 30;
        LoadNextLevel();
        EXPECT_EQ(LevelNumber, level);
        EXPECT_EQ(LevelBackdrop, backdrops[level - 1]) << "level " << level;
        EXPECT_EQ(Invulnerable, 0);
        EXPECT_EQ(BriefingsShown, level);
    }
    LoadNextLevel();
    EXPECT_EQ(LevelNumber, 6);
    EXPECT_EQ(BriefingsShown, 5);
    EXPECT_EQ(EndGamesShown, 1);
    EXPECT_EQ(GameCompleted, 1);
}

TEST(LevelProgression, AHalfPipeLevelEndsWithoutDigging) {
    SpeedFactor = 1;
    ResetForLevel();
    for (int r = 1; r <= 300; ++r) {
        for (int c = -7; c <= 7; ++c) {
            LevelMap[c + 8][r] = TerrainDepth[1][c];
        }
    }
    const int frames = PlayTerrainFrames(3000);
    EXPECT_EQ(EndPhase, 1);
    EXPECT_EQ(MapPosition, 280);
    EXPECT_NEAR(StructureSum(), 743.3f, 0.05f);
    // Map rows 1..300 pass in 150 shifts of about 10 frames; the first check
    // follows as soon as the window rests.
    EXPECT_GE(frames, 1500);
    EXPECT_LE(frames, 1510);
}

TEST(LevelProgression, TheStructureFallsOnlyAbove650AndEveryTenFrames) {
    MapPosition = 280;
    TravelSinceCheck = 2;
    SetStructure(650.0f / 121);
    TerrainDepth[15][0] = 650 - (StructureSum() - TerrainDepth[15][0]);
    ASSERT_FLOAT_EQ(StructureSum(), 650);
    CheckEndStructure();
    EXPECT_EQ(EndPhase, 0);
    EXPECT_EQ(TravelSinceCheck, 0);

    TerrainDepth[15][0] += 0.01f;
    CheckEndStructure(); // too soon after the last check
    EXPECT_EQ(EndPhase, 0);
    TravelSinceCheck = 2;
    MapPosition = 278;
    CheckEndStructure(); // not at rest yet
    EXPECT_EQ(EndPhase, 0);
    MapPosition = 280;
    CheckEndStructure();
    EXPECT_EQ(EndPhase, 1);
}

TEST(LevelProgression, FlyOutDestroysShipsCollapsesAndHandsOverToTheNextLevel) {
    SeedRandom(3);
    SetStructure(4);
    for (int i = 1; i <= kShipSlots; ++i) {
        Ship[i].state = i <= 7 ? kSlotActive : kSlotFree;
    }
    ShipCount = 7;
    EndPhase = 1;
    CraftZ = 0;
    Score = 100;
    LevelNumber = 2;
    const float before = StructureSum();

    RunEndPhase();
    for (int i = 1; i <= kShipSlots; ++i) {
        EXPECT_EQ(Ship[i].state, kSlotDestroyed) << "ship " << i;
    }
    EXPECT_EQ(ShipCount, 7) << "ships falling with the structure are not counted";
    EXPECT_EQ(MissedShips, 0);
    EXPECT_EQ(EndPhase, 2);
    EXPECT_FLOAT_EQ(CraftZ, 0.1f);
    EXPECT_EQ(Score, 105);
    EXPECT_NEAR(StructureSum() - before, 10 * 0.1f, 1e-4);

    int frames = 1;
    while (EndPhase != 0 && frames < 200) {
        RunEndPhase();
        ++frames;
    }
    EXPECT_EQ(frames, 100); // CraftZ passes 10 in the hundredth frame
    EXPECT_EQ(LevelStatsShown, 1);
    EXPECT_EQ(LevelNumber, 3);
    EXPECT_EQ(BriefingsShown, 1);
    EXPECT_EQ(CraftZ, 0) << "the statistics ran the per-level reset";
    EXPECT_EQ(MapPosition, -20);
}

TEST(LevelProgression, CollapseStopsWhenNoCellIsLeftAboveSeven) {
    SeedRandom(11);
    SetStructure(8);
    EndPhase = 2;
    RunEndPhase(); // would choose cells forever without the bound
    EXPECT_NEAR(StructureSum(), 121 * 8.0f, 1e-3);

    // One shallow cell takes every addition until it reaches 7.
    TerrainDepth[13][-2] = 6.35f;
    RunEndPhase();
    EXPECT_NEAR(TerrainDepth[13][-2], 7.05f, 1e-4);
}

} // namespace
} // namespace halvane
