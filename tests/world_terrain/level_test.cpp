// Levels in turn: their files, the per-level reset, the end structure and the fly-out.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/game_state.h"
#include "platform/random.h"
#include "screens/briefing.h"
#include "screens/end_game.h"
#include "screens/game_over.h"
#include "screens/level_stats.h"
#include "tests/files/temp_dir.h"
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
    ++LevelStatsShown, ResetForLevel();
}
void ShowGameOver() {}

namespace {

void SetStructure(float depth) {
    for (int r = 10; r <= 20; ++r)
        TerrainDepth[r].Fill(depth);
}

// n small numbers with the separator between them.
std::string Numbers(int n, const std::string &separator) {
    std::string text;
    for (int i = 1; i <= n; ++i)
        text += std::to_string(i % 7) + (i < n ? separator : "\n");
    return text;
}

using LevelFiles = TempDirTest;

TEST_F(LevelFiles, LoaderMakesWildValuesSafe) {
    WriteText("wild.dat", "1e39,-1e39,junk,3.5e2,-12345,2.5,nan,inf\n" + Numbers(40, " "));
    LevelMap[3][250] = 9; // a value left from an earlier level
    LoadLevelFile("wild.dat");
    const float firstRow[] = {1000, -1000, 0, 350, -1000, 2.5f, 0, 0, 1};
    for (int k = 1; k <= 9; ++k)
        EXPECT_FLOAT_EQ(LevelMap[k][1], firstRow[k - 1]) << k;
    EXPECT_EQ(LevelMap[3][250], 0) << "a short file reads its missing values as 0";
    for (int k = 0; k <= 30; ++k)
        for (int r = -20; r <= 300; ++r)
            ASSERT_TRUE(std::isfinite(LevelMap[k][r]) && std::fabs(LevelMap[k][r]) <= 1000);
}

TEST_F(LevelFiles, EachLevelLoadsInTurnAndABrokenFileGivesGeneratedTerrain) {
    const std::string good = Numbers(9000, ",");
    std::string junk = good;
    junk.replace(junk.find(",", 8000) + 1, 1, "x");
    const std::pair<std::string, bool> files[] = {{good, true},
                                                  {Numbers(9000, " \t"), true},
                                                  {Numbers(9000, "\r\n"), true},
                                                  {Numbers(8999, ","), false},
                                                  {junk, false}};
    for (const auto &[text, complete] : files) {
        WriteText("level.dat", text);
        EXPECT_EQ(LevelFileComplete("level.dat"), complete) << text.substr(0, 20);
    }
    EXPECT_FALSE(LevelFileComplete("missing.dat"));

    std::filesystem::create_directory("Data");
    for (int level : {1, 3, 4, 5})
        WriteText("Data/level" + std::to_string(level) + ".dat", level == 3 ? junk : good);
    CheckLevelFiles();
    EXPECT_EQ(RandomTerrain, 1);
    SpeedFactor = 1;
    const int backdrops[] = {2, 3, 2, 4, 5, 2};
    for (int level = 1; level <= 6; ++level) {
        const int broken = level == 2 || level == 3;
        EXPECT_EQ(LevelFileBroken[std::min(level, 5)], broken) << "level " << level;
        Invulnerable = 30;
        ResetForLevel();
        LoadNextLevel();
        EXPECT_EQ(std::tuple(LevelNumber, Invulnerable, BriefingsShown, LevelBackdrop),
                  std::tuple(level, 0, std::min(level, 5), backdrops[level - 1]));
        if (level > 5) break;
        EXPECT_EQ(std::pair(GeneratedTerrain, LevelMap[2][1]),
                  std::pair(broken, broken ? 0 : 2.0f));
        for (int frame = 0; frame < 20; ++frame) { // two shifts
            AdvanceTerrain();
            ShiftTerrain();
        }
        for (int c = -5; c <= 5; ++c) // generated, or fed from the file's small numbers
            EXPECT_TRUE(TerrainDepth[20][c] >= (broken ? 1 : 0) && TerrainDepth[20][c] <= 7) << c;
    }
    EXPECT_EQ(GameCompleted, 1);
}

TEST(LevelProgression, ResetFreesEverySlotAndPutsTheCraftAtTheStart) {
    // Ships 6..10 live only at a level's end; an aborted game leaves them.
    for (int i = 1; i <= kShipSlots; ++i)
        Ship[i].state = Mine[i].state = Missile[(i - 1) % kMissileSlots + 1].state = kSlotActive;
    ShipCount = MineCount = MissileCount = CraftX = CraftZ = MissedShips = MissedMines = 4;
    MapPosition = 280, ScrollOffset = -1.2f;
    ResetForLevel();
    for (int i = 1; i <= kShipSlots; ++i)
        EXPECT_EQ(Ship[i].state + Mine[i].state + Missile[(i - 1) % kMissileSlots + 1].state, 0);
    EXPECT_EQ(ShipCount + MineCount + MissileCount + CraftX + CraftZ + MissedShips + MissedMines,
              0);
    // The half-pipe again; the scroll is carried over to the next level.
    EXPECT_EQ(std::tuple(MapPosition, TerrainDepth[15][0], ScrollOffset),
              std::tuple(-20, 7, -1.2f));
}

// The structure falls once it sums above 650, checked every ten frames with
// the window at rest; the fly-out then takes 100 frames to the next level.
TEST(LevelProgression, TheStructureFallsAbove650AndTheFlyOutHandsOverToTheNextLevel) {
    SeedRandom(3);
    MapPosition = 280, TravelSinceCheck = 2;
    SetStructure(650.0f / 121);
    TerrainDepth[15][0] = 650 - (StructureSum() - TerrainDepth[15][0]);
    ASSERT_FLOAT_EQ(StructureSum(), 650);
    CheckEndStructure();
    EXPECT_EQ(std::tuple(EndPhase, TravelSinceCheck), std::tuple(0, 0));
    TerrainDepth[15][0] += 0.01f;
    CheckEndStructure(); // too soon after the last check
    EXPECT_EQ(EndPhase, 0);
    TravelSinceCheck = 2, MapPosition = 278;
    CheckEndStructure(); // not at rest yet
    EXPECT_EQ(EndPhase, 0);
    MapPosition = 280;
    for (int i = 1; i <= 7; ++i)
        Ship[i].state = kSlotActive;
    Score = 100, LevelNumber = 2;
    CheckEndStructure();
    ASSERT_EQ(EndPhase, 1);
    const float ships = ShipCount, before = StructureSum();
    RunEndPhase();
    for (int i = 1; i <= kShipSlots; ++i)
        EXPECT_EQ(Ship[i].state, kSlotDestroyed) << "ship " << i;
    // Ships falling with the structure are neither counted off nor missed.
    EXPECT_EQ(std::tuple(ShipCount, MissedShips, CraftZ, Score), std::tuple(ships, 0, 0.1f, 105));
    EXPECT_NEAR(StructureSum() - before, 10 * 0.1f, 1e-3);
    int frames = 1;
    for (; EndPhase != 0 && frames < 200; ++frames)
        RunEndPhase();
    EXPECT_EQ(frames, 100); // CraftZ passes 10 in the hundredth frame
    EXPECT_EQ(std::tuple(LevelStatsShown, BriefingsShown, LevelNumber), std::tuple(1, 1, 3));
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

TEST(ShippedLevels, StructuresNeedMoreHitsFromMissionToMissionAndStartOnTheHalfPipe) {
    ResetTerrain();
    int lastHits = 0;
    for (int level = 1; level <= 5; ++level) {
        const std::string file = HALVANE_SOURCE_DIR "/Data/level" + std::to_string(level) + ".dat";
        ASSERT_TRUE(LevelFileComplete(file.c_str())) << level;
        LoadLevelFile(file.c_str());
        float sum = 0; // the structure as the window rests on the level's end
        for (int r = 10; r <= 20; ++r)
            for (int c = -5; c <= 5; ++c)
                sum += LevelMap[c + 8][r + 280];
        // Each hit adds at most the 3.0 of one crater.
        const int hits = static_cast<int>(std::floor((650 - sum) / 3.0f)) + 1;
        EXPECT_TRUE(hits >= 24 && hits > lastHits) << "level " << level << " sums to " << sum;
        lastHits = hits;
        for (int c = -6; c <= 6; ++c)
            for (int r = 1; r <= 10; ++r)
                ASSERT_NEAR(LevelMap[c + 8][r], TerrainDepth[1][c], 1e-4) << level;
        for (int k = 16; k <= 30; ++k) // colour codes are whole numbers 0..5
            for (int r = 1; r <= 300; ++r)
                ASSERT_TRUE(LevelMap[k][r] >= 0 && LevelMap[k][r] <= 5 &&
                            LevelMap[k][r] == std::floor(LevelMap[k][r]));
    }
}

} // namespace
} // namespace halvane
