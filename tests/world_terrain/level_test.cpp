#include <gtest/gtest.h>

#include <utility>

#include "core/game_state.h"
#include "platform/random.h"
#include "screens/briefing.h"
#include "screens/end_game.h"
#include "screens/game_over.h"
#include "screens/level_stats.h"
#include "world/craft.h"
#include "world/level.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {

// The screens the world hands over to: they count and do the world's share.
int BriefingsShown = 0;
int LevelStatsShown = 0;
void ShowBriefing() {
    ++BriefingsShown;
}
void ShowEndGame() {
    GameCompleted = 1;
}
void ShowLevelStats() {
    ++LevelStatsShown;
    ResetForLevel();
}
void ShowGameOver() {}

namespace {

void SetStructure(float depth) {
    for (int r = 10; r <= 20; ++r)
        TerrainDepth[r].Fill(depth);
}

TEST(LevelProgression, ResetFreesEverySlotAndPutsTheCraftAtTheStart) {
    // Ships 6..10 live only at a level's end; an aborted game leaves them.
    for (int i = 1; i <= kShipSlots; ++i) {
        Ship[i].state = Mine[i].state = i % 2 == 0 ? kSlotActive : kSlotDestroyed;
        Missile[(i - 1) % kMissileSlots + 1].state = kSlotActive;
    }
    ShipCount = MineCount = MissileCount = CraftX = CraftZ = MissedShips = MissedMines = 4;
    MapPosition = 280, ScrollOffset = -1.2f, EndWarningPlayed = 1;
    ResetForLevel();
    for (int i = 1; i <= kShipSlots; ++i) {
        EXPECT_EQ(Ship[i].state + Mine[i].state + Missile[(i - 1) % kMissileSlots + 1].state,
                  kSlotFree)
            << "slot " << i;
    }
    EXPECT_EQ(ShipCount + MineCount + MissileCount, 0);
    EXPECT_EQ(CraftX + CraftZ + MissedShips + MissedMines, 0);
    EXPECT_EQ(MapPosition, -20);
    EXPECT_FLOAT_EQ(TerrainDepth[15][0], 7);
    EXPECT_EQ(ScrollOffset, -1.2f); // both carried over to the next level
    EXPECT_EQ(EndWarningPlayed, 1);
}

TEST(LevelProgression, EachLevelHasItsBackdropAndTheSixthEndsTheGame) {
    const int backdrops[] = {2, 3, 2, 4, 5};
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
    EXPECT_EQ(GameCompleted, 1);
}

TEST(LevelProgression, AHalfPipeLevelEndsWithoutDigging) {
    SpeedFactor = 1;
    ResetForLevel();
    for (int r = 1; r <= 300; ++r)
        for (int c = -7; c <= 7; ++c)
            LevelMap[c + 8][r] = TerrainDepth[1][c];
    int frames = 0;
    for (; frames < 3000 && EndPhase == 0; ++frames) {
        AdvanceTerrain();
        CheckEndStructure();
        ShiftTerrain();
    }
    EXPECT_EQ(MapPosition, 280);
    EXPECT_NEAR(StructureSum(), 743.3f, 0.05f);
    // 150 shifts of about 10 frames; the first check as soon as the window rests.
    EXPECT_TRUE(frames >= 1500 && frames <= 1510) << frames;
}

TEST(LevelProgression, TheStructureFallsOnlyAbove650AndEveryTenFrames) {
    MapPosition = 280, TravelSinceCheck = 2;
    SetStructure(650.0f / 121);
    TerrainDepth[15][0] = 650 - (StructureSum() - TerrainDepth[15][0]);
    ASSERT_FLOAT_EQ(StructureSum(), 650);
    CheckEndStructure();
    EXPECT_EQ(EndPhase, 0);
    EXPECT_EQ(TravelSinceCheck, 0);
    TerrainDepth[15][0] += 0.01f;
    CheckEndStructure(); // too soon after the last check
    EXPECT_EQ(EndPhase, 0);
    TravelSinceCheck = 2, MapPosition = 278;
    CheckEndStructure(); // not at rest yet
    EXPECT_EQ(EndPhase, 0);
    MapPosition = 280;
    CheckEndStructure();
    EXPECT_EQ(EndPhase, 1);
}

TEST(LevelProgression, FlyOutDestroysShipsCollapsesAndHandsOverToTheNextLevel) {
    SeedRandom(3);
    SetStructure(4);
    for (int i = 1; i <= 7; ++i)
        Ship[i].state = kSlotActive;
    ShipCount = 7, EndPhase = 1, Score = 100, LevelNumber = 2;
    const float before = StructureSum();
    RunEndPhase();
    for (int i = 1; i <= kShipSlots; ++i)
        EXPECT_EQ(Ship[i].state, kSlotDestroyed) << "ship " << i;
    EXPECT_EQ(ShipCount, 7) << "ships falling with the structure are not counted";
    EXPECT_EQ(MissedShips, 0);
    EXPECT_FLOAT_EQ(CraftZ, 0.1f);
    EXPECT_EQ(Score, 105);
    EXPECT_NEAR(StructureSum() - before, 10 * 0.1f, 1e-4);
    int frames = 1;
    for (; EndPhase != 0 && frames < 200; ++frames)
        RunEndPhase();
    EXPECT_EQ(frames, 100); // CraftZ passes 10 in the hundredth frame
    EXPECT_EQ(std::pair(LevelStatsShown, BriefingsShown), std::pair(1, 1));
    EXPECT_EQ(LevelNumber, 3);
    EXPECT_EQ(MapPosition, -20) << "the statistics ran the per-level reset";
}

TEST(LevelProgression, CollapseStopsWhenNoCellIsLeftAboveSeven) {
    SeedRandom(11);
    SetStructure(8);
    EndPhase = 2;
    RunEndPhase(); // would choose cells forever without the bound
    EXPECT_NEAR(StructureSum(), 121 * 8.0f, 1e-3);
    TerrainDepth[13][-2] = 6.35f; // one shallow cell takes every addition until 7
    RunEndPhase();
    EXPECT_NEAR(TerrainDepth[13][-2], 7.05f, 1e-4);
}

} // namespace
} // namespace halvane
