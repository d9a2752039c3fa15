// The terrain window, the level files, the per-level reset, the end structure and fly-out.
#include <algorithm>
#include <cmath>
#include <limits>
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
int BriefingsShown = 0, LevelStatsShown = 0;
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

float Window(int r, int c) {
    return TerrainDepth[r][c];
}

double WindowSum() {
    double sum = 0;
    for (int r = 0; r <= 20; ++r)
        for (int c = -7; c <= 7; ++c)
            sum += Window(r, c);
    return sum;
}

TEST(Terrain, ResetGivesTheHalfPipeAndCratersAddThreeInsideTheWindow) {
    for (int r = 0; r <= 20; ++r)
        TerrainDepth[r][-7] = TerrainDepth[r][7] = 9; // the outer columns stay
    ResetTerrain();
    const float halfPipe[] = {7.0f, 6.7667f, 6.5333f, 6.2222f, 5.7556f, 5.0089f, 3.7644f, 9};
    for (int r = 1; r <= 20; ++r)
        for (int j = 0; j <= 7; ++j)
            ASSERT_TRUE(std::abs(Window(r, j) - halfPipe[j]) < 5e-5 &&
                        Window(r, -j) == Window(r, j))
                << "row " << r << " col " << j;
    EXPECT_EQ(Window(0, 0), 0) << "row 0 is never written";
    const double before = WindowSum();
    DigCrater(10, 2); // 0.75 in the centre, 0.375 on the edges, 0.1875 on the corners
    for (auto [r, c, added] : {std::tuple(10, 2, 0.75f), {9, 2, 0.375f}, {11, 3, 0.1875f}})
        EXPECT_NEAR(Window(r, c) - Window(r, -c), added, 1e-4) << r << "," << c;
    EXPECT_NEAR(WindowSum() - before, 3.0f, 1e-4);
    // At the corners only the cells inside are dug; row 0 stays.
    ResetTerrain();
    DigCrater(1, 7);
    DigCrater(20, -7);
    DigCrater(-5, 30); // wholly outside: nothing, and no crash
    EXPECT_NEAR(WindowSum() - before, 2 * (0.75f + 0.375f + 0.375f + 0.1875f), 1e-4);
    EXPECT_EQ(Window(0, 6), 0);
}

TEST(Terrain, LookUpsStayInsideTheWindow) {
    for (int r = 0; r <= 20; ++r) // each value names its row and column
        for (int c = -7; c <= 7; ++c)
            TerrainDepth[r][c] = static_cast<float>(r * 100 + c);
    const float nan = std::numeric_limits<float>::quiet_NaN(); // halves go up
    EXPECT_EQ(std::tuple(GroundAt(4.5f, 0.5f), GroundAt(5, 7.6f), GroundAt(5, -8.2f),
                         GroundAt(40, 100), GroundAt(nan, 1e30f), DepthAt(25, -9)),
              std::tuple(501, 507, 493, 2007, 7, 1993));
}

TEST(Terrain, ShiftsEveryTenFramesFeedsMapRowsAndRestsAtTheEnd) {
    for (int r = 1; r <= 300; ++r) // each value names its map row and column
        for (int c = -7; c <= 7; ++c)
            LevelMap[c + 8][r] = static_cast<float>(r) + (c + 7) / 100.0f;
    ResetTerrain();
    MapPosition = -20, SpeedFactor = 1;
    DigCrater(10, 0);
    const float crater = Window(10, 0);
    float warnedAt = 0;
    for (int frame = 1; frame <= 2000; ++frame) {
        AdvanceTerrain();
        ShiftTerrain();
        if (frame == 10) { // craters move on with the ground
            EXPECT_EQ(std::tuple(MapPosition, Window(8, 0), Window(19, -7), Window(20, 7)),
                      std::tuple(-18, crater, 1.00f, 2.14f));
        }
        if (EndWarningPlayed != 0 && warnedAt == 0) warnedAt = MapPosition;
    }
    // The warning plays once at 270; the window rests at 280 on rows 281..300.
    EXPECT_EQ(std::tuple(warnedAt, MapPosition, ScrollOffset), std::tuple(270, 280, 0));
    for (int r = 1; r <= 20; ++r)
        EXPECT_FLOAT_EQ(Window(r, -3), static_cast<float>(r + 280) + 0.04f);
}

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
    LevelMap[3][250] = 9; // left from an earlier level: a short file's missing values are 0
    LoadLevelFile("wild.dat");
    const float firstRow[] = {1000, -1000, 0, 350, -1000, 2.5f, 0, 0, 1};
    for (int k = 1; k <= 9; ++k)
        EXPECT_FLOAT_EQ(LevelMap[k][1], firstRow[k - 1]) << k;
    EXPECT_EQ(LevelMap[3][250], 0);
    for (int k = 0; k <= 30; ++k)
        for (int r = -20; r <= 300; ++r)
            ASSERT_TRUE(std::isfinite(LevelMap[k][r]) && std::fabs(LevelMap[k][r]) <= 1000);
}

TEST_F(LevelFiles, EachLevelLoadsInTurnAndABrokenFileGivesGeneratedTerrain) {
    const std::string good = Numbers(9000, ",");
    std::string junk = good;
    junk.replace(junk.find(",", 8000) + 1, 1, "x");
    int file = 0; // the first three are complete
    for (const std::string &text : {good, Numbers(9000, " \t"), Numbers(9000, "\r\n"),
                                    Numbers(8999, ","), junk, std::string()}) {
        WriteText("level.dat", text);
        EXPECT_EQ(LevelFileComplete("level.dat"), file++ < 3) << text.substr(0, 20);
    }
    EXPECT_FALSE(LevelFileComplete("missing.dat"));

    std::filesystem::create_directory("Data");
    for (int level : {1, 3, 4, 5})
        WriteText("Data/level" + std::to_string(level) + ".dat", level == 3 ? junk : good);
    CheckLevelFiles();
    EXPECT_EQ(RandomTerrain, 1);
    const int backdrops[] = {2, 3, 2, 4, 5, 2};
    for (int level = 1; level <= 6; ++level) {
        const int broken = level == 2 || level == 3;
        EXPECT_EQ(LevelFileBroken[std::min(level, 5)], broken) << "level " << level;
        Invulnerable = 30, SpeedFactor = 1;
        ResetForLevel();
        LoadNextLevel();
        EXPECT_EQ(std::tuple(LevelNumber, Invulnerable, BriefingsShown, LevelBackdrop),
                  std::tuple(level, 0, std::min(level, 5), backdrops[level - 1]));
        if (level > 5) break;
        EXPECT_EQ(std::pair(GeneratedTerrain, LevelMap[2][1]),
                  std::pair(broken, broken ? 0 : 2.0f));
        // Generated rows stay in the channel, a quarter from the row before, outer columns
        // at 0.7 of their neighbours, column 7 never fed; otherwise they are the file's.
        TerrainDepth[20][7] = 2.5f;
        for (int frame = 0; frame < 1600; ++frame) {
            AdvanceTerrain();
            ShiftTerrain();
            if (MapPosition == -20) continue; // not shifted yet
            const TerrainRow &far = TerrainDepth[20], &near = TerrainDepth[19];
            for (int c = -5; c <= 5; ++c)
                ASSERT_TRUE(broken ? far[c] >= 1 && far[c] <= 7 &&
                                         std::abs(near[c] - far[c]) <= 0.25001f
                                   : far[c] == LevelMap[c + 8][static_cast<int>(MapPosition) + 20])
                    << level << " " << c;
            ASSERT_TRUE(!broken ||
                        (far[-6] == 0.7f * far[-5] && near[6] == 0.7f * near[5] && far[7] == 2.5f));
        }
    }
    EXPECT_EQ(GameCompleted, 1);
}

// Checked every ten frames at rest, the structure falls above 650; the fly-out takes 100 frames.
TEST(LevelProgression, TheStructureFallsAbove650AndTheFlyOutHandsOverToAFreshLevel) {
    SeedRandom(3);
    MapPosition = 280, TravelSinceCheck = 2;
    SetStructure(650.0f / 121);
    TerrainDepth[15][0] = 650 - (StructureSum() - TerrainDepth[15][0]);
    ASSERT_FLOAT_EQ(StructureSum(), 650);
    CheckEndStructure();
    EXPECT_EQ(std::tuple(EndPhase, TravelSinceCheck), std::tuple(0, 0));
    TerrainDepth[15][0] += 0.01f;
    CheckEndStructure(); // too soon after the last check
    TravelSinceCheck = 2, MapPosition = 278;
    CheckEndStructure(); // not at rest yet
    EXPECT_EQ(EndPhase, 0);
    for (int i = 1; i <= kShipSlots; ++i)
        Ship[i].state = Mine[i].state = Missile[(i - 1) % kMissileSlots + 1].state = kSlotActive;
    MineCount = MissileCount = CraftX = MissedMines = 4, Score = 100, LevelNumber = 2;
    MapPosition = 280;
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
    // The statistics ran the per-level reset: every slot free (ships 6..10 too), the craft
    // and the window back at the start over the half-pipe.
    for (int i = 1; i <= kShipSlots; ++i)
        EXPECT_EQ(Ship[i].state + Mine[i].state + Missile[(i - 1) % kMissileSlots + 1].state, 0);
    EXPECT_EQ(std::tuple(ShipCount, MineCount, MissileCount, CraftX, CraftZ, MissedShips,
                         MissedMines, MapPosition, TerrainDepth[15][0]),
              std::tuple(0, 0, 0, 0, 0, 0, 0, -20, 7));
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
