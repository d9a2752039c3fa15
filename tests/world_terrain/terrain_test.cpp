#include <gtest/gtest.h>

#include <limits>

#include "platform/random.h"
#include "world/terrain.h"

namespace halvane {
namespace {

double WindowSum() {
    double sum = 0;
    for (int r = 0; r <= 20; ++r)
        for (int c = -7; c <= 7; ++c)
            sum += TerrainDepth[r][c];
    return sum;
}

TEST(Terrain, ResetGivesTheHalfPipeAndLeavesRowZeroAndTheOuterColumns) {
    for (int r = 0; r <= 20; ++r)
        TerrainDepth[r][-7] = TerrainDepth[r][7] = 9;
    ResetTerrain();
    const float expected[] = {7.0f, 6.7667f, 6.5333f, 6.2222f, 5.7556f, 5.0089f, 3.7644f};
    for (int r = 1; r <= 20; ++r) {
        for (int j = 0; j <= 6; ++j) {
            EXPECT_NEAR(TerrainDepth[r][j], expected[j], 5e-5) << "row " << r << " col " << j;
            EXPECT_EQ(TerrainDepth[r][-j], TerrainDepth[r][j]);
        }
        EXPECT_EQ(TerrainDepth[r][-7] + TerrainDepth[r][7], 18);
    }
    EXPECT_EQ(TerrainDepth[0][0], 0) << "row 0 is never written";
}

TEST(Terrain, LookUpsStayInsideTheWindow) {
    for (int r = 0; r <= 20; ++r)
        for (int c = -7; c <= 7; ++c)
            TerrainDepth[r][c] = static_cast<float>(r * 100 + c);
    EXPECT_EQ(GroundAt(4.5f, 0.5f), 501); // halves go up: row 5, column 1
    EXPECT_EQ(GroundAt(5, 7.6f), 507);
    EXPECT_EQ(GroundAt(5, -8.2f), 493);
    EXPECT_EQ(GroundAt(40, 100), 2007);
    EXPECT_EQ(GroundAt(std::numeric_limits<float>::quiet_NaN(), 1e30f), 7);
    EXPECT_EQ(DepthAt(25, -9), 1993);
}

TEST(Terrain, CraterAddsThreeOverNineCellsAndStopsAtTheWindowEdges) {
    ResetTerrain();
    const double before = WindowSum();
    DigCrater(10, 2);
    EXPECT_NEAR(WindowSum() - before, 3.0f, 1e-4);
    EXPECT_NEAR(TerrainDepth[10][2] - 6.5333f, 0.75f, 1e-4);
    EXPECT_NEAR(TerrainDepth[9][2] - 6.5333f, 0.375f, 1e-4);
    EXPECT_NEAR(TerrainDepth[11][3] - 6.2222f, 0.1875f, 1e-4);
    EXPECT_NEAR(TerrainDepth[12][2], 6.5333f, 1e-4) << "two rows away is untouched";
    // At the corners only the cells inside are dug; row 0 stays.
    ResetTerrain();
    DigCrater(1, 7);
    DigCrater(20, -7);
    DigCrater(-5, 30); // wholly outside: nothing, and no crash
    EXPECT_NEAR(WindowSum() - before, 2 * (0.75f + 0.375f + 0.375f + 0.1875f), 1e-4);
    EXPECT_EQ(TerrainDepth[0][6], 0);
}

TEST(Terrain, ShiftsEveryTenFramesFeedsMapRowsAndRestsAtTheEnd) {
    SpeedFactor = 1;
    for (int r = 1; r <= 300; ++r) {
        for (int c = -7; c <= 7; ++c) {
            LevelMap[c + 8][r] = static_cast<float>(r) + (c + 7) / 100.0f; // names row and column
        }
    }
    ResetTerrain();
    MapPosition = -20;
    DigCrater(10, 0);
    const float crater = TerrainDepth[10][0];
    int frames = 0;
    for (; MapPosition == -20 && frames < 100; ++frames) {
        AdvanceTerrain();
        ShiftTerrain();
    }
    EXPECT_LE(frames, 10);
    EXPECT_EQ(MapPosition, -18);
    EXPECT_EQ(TerrainDepth[8][0], crater) << "craters move with the ground";
    EXPECT_FLOAT_EQ(TerrainDepth[19][-7], 1.00f);
    EXPECT_FLOAT_EQ(TerrainDepth[20][7], 2.14f);
    // The warning plays once at 270; the window rests at 280 on rows 281..300.
    bool warned = false;
    for (int f = 0; f < 2000; ++f) {
        AdvanceTerrain();
        ShiftTerrain();
        if (EndWarningPlayed != 0 && !warned) {
            warned = true;
            EXPECT_EQ(MapPosition, 270);
        }
    }
    EXPECT_TRUE(warned);
    EXPECT_EQ(MapPosition, 280);
    EXPECT_EQ(ScrollOffset, 0); // at rest
    for (int r = 1; r <= 20; ++r)
        EXPECT_FLOAT_EQ(TerrainDepth[r][-3], static_cast<float>(r + 280) + 0.04f);
}

TEST(Terrain, GeneratedRowsWalkWithinTheChannel) {
    SeedRandom(7);
    ResetTerrain();
    TerrainDepth[20][7] = 2.5f;
    for (int shift = 0; shift < 200; ++shift) {
        FeedRandomRows();
        for (int c = -5; c <= 5; ++c) {
            ASSERT_TRUE(TerrainDepth[20][c] >= 1 && TerrainDepth[20][c] <= 7);
            ASSERT_NEAR(TerrainDepth[19][c], TerrainDepth[20][c], 0.25f + 1e-6);
        }
        ASSERT_FLOAT_EQ(TerrainDepth[20][-6], 0.7f * TerrainDepth[20][-5]);
        ASSERT_FLOAT_EQ(TerrainDepth[19][6], 0.7f * TerrainDepth[19][5]);
        ASSERT_EQ(TerrainDepth[20][7], 2.5f);
    }
}

} // namespace
} // namespace halvane
