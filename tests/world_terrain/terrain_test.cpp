#include <gtest/gtest.h>

#include <limits>

#include "platform/random.h"
#include "world/terrain.h"

namespace halvane {
namespace {

double WindowSum() {
    double sum = 0;
    for (int r = 0; r <= 20; ++r) {
        for (int c = -7; c <= 7; ++c) {
            sum += TerrainDepth[r][c];
        }
    }
    return sum;
}

// A map whose depth in every cell names its row and column.
void FillNumberedMap() {
    for (int r = 1; r <= 300; ++r) {
        for (int c = -7; c <= 7; ++c) {
            LevelMap[c + 8][r] = static_cast<float>(r) + (c + 7) / 100.0f;
        }
    }
}

TEST(Terrain, ResetGivesTheHalfPipeAndLeavesRowZeroAndTheOuterColumns) {
    for (int r = 0; r <= 20; ++r) {
        TerrainDepth[r][-7] = 9;
        TerrainDepth[r][7] = 9;
    }
    ResetTerrain();
    const float expected[] = {7.0f, 6.7667f, 6.5333f, 6.2222f, 5.7556f, 5.0089f, 3.7644f};
    for (int r = 1; r <= 20; ++r) {
        for (int j = 0; j <= 6; ++j) {
            EXPECT_NEAR(TerrainDepth[r][j], expected[j], 5e-5) << "row " << r << " col " << j;
            EXPECT_EQ(TerrainDepth[r][-j], TerrainDepth[r][j]);
        }
        EXPECT_EQ(TerrainDepth[r][-7], 9);
        EXPECT_EQ(TerrainDepth[r][7], 9);
    }
    for (int c = -6; c <= 6; ++c) {
        EXPECT_EQ(TerrainDepth[0][c], 0) << "row 0 is never written";
    }
}

TEST(Terrain, LookUpsStayInsideTheWindow) {
    for (int r = 0; r <= 20; ++r) {
        for (int c = -7; c <= 7; ++c) {
            TerrainDepth[r][c] = static_cast<float>(r * 100 + c);
        }
    }
    EXPECT_EQ(GroundAt(4.5f, 0.5f), 501); // halves go up: row 5, column 1
    EXPECT_EQ(GroundAt(5, 7.6f), 507);    // a missile launched 7.6 out
    EXPECT_EQ(GroundAt(5, -8.2f), 493);
    EXPECT_EQ(GroundAt(-3, 0), 0);
    EXPECT_EQ(GroundAt(40, 100), 2007);
    EXPECT_EQ(GroundAt(std::numeric_limits<float>::quiet_NaN(), 1e30f), 7);
    EXPECT_EQ(DepthAt(25, -9), 1993);
}

TEST(Terrain, CraterAddsThreeOverNineCellsAndStopsAtTheWindowEdges) {
    ResetTerrain();
    const double before = WindowSum();
    const float centre = TerrainDepth[10][2];
    DigCrater(10, 2);
    EXPECT_NEAR(WindowSum() - before, 3.0f, 1e-4);
    EXPECT_NEAR(TerrainDepth[10][2] - centre, 0.75f, 1e-6);
    EXPECT_NEAR(TerrainDepth[9][2] - 6.5333f, 0.375f, 1e-4);
    EXPECT_NEAR(TerrainDepth[11][3] - 6.2222f, 0.1875f, 1e-4);
    EXPECT_NEAR(TerrainDepth[12][2], 6.5333f, 1e-4) << "two rows away is untouched";

    // At the corner of the window only the cells inside are dug; row 0 stays.
    ResetTerrain();
    const double cornerBefore = WindowSum();
    DigCrater(1, 7);
    EXPECT_NEAR(WindowSum() - cornerBefore, 0.75f + 0.375f + 0.375f + 0.1875f, 1e-4);
    EXPECT_EQ(TerrainDepth[0][6], 0);
    DigCrater(20, -7);
    DigCrater(-5, 30); // wholly outside: nothing, and no crash
    EXPECT_NEAR(WindowSum() - cornerBefore, 2 * 1.6875f, 1e-4);
}

TEST(Terrain, ShiftsEveryTenFramesFeedsMapRowsAndRestsAtTheEnd) {
    SpeedFactor = 1;
    FillNumberedMap();
    ResetTerrain();
    MapPosition = -20;
    ScrollOffset = 0;
    DigCrater(10, 0);
    const float crater = TerrainDepth[10][0];

    int frames = 0;
    while (MapPosition == -20 && frames < 100) {
        AdvanceTerrain();
        ShiftTerrain();
        ++frames;
    }
    EXPECT_LE(frames, 10);
    EXPECT_EQ(MapPosition, -18);
    EXPECT_EQ(ScrollOffset, 0);
    EXPECT_EQ(TerrainDepth[8][0], crater) << "craters move with the ground";
    EXPECT_FLOAT_EQ(TerrainDepth[19][-7], 1.00f);
    EXPECT_FLOAT_EQ(TerrainDepth[20][7], 2.14f);

    // On through the level: the warning plays once at 270, the window stops
    // at 280 and shows map rows 281..300.
    int warningFrame = -1;
    for (int f = 0; f < 2000; ++f) {
        AdvanceTerrain();
        ShiftTerrain();
        if (EndWarningPlayed != 0 && warningFrame < 0) {
            warningFrame = f;
            EXPECT_EQ(MapPosition, 270);
        }
    }
    EXPECT_GE(warningFrame, 0);
    EXPECT_EQ(MapPosition, 280);
    EXPECT_EQ(ScrollOffset, 0);
    for (int r = 1; r <= 20; ++r) {
        EXPECT_FLOAT_EQ(TerrainDepth[r][-3], static_cast<float>(r + 280) + 0.04f);
    }
}

TEST(Terrain, GeneratedRowsWalkWithinTheChannel) {
    SeedRandom(7);
    ResetTerrain();
    TerrainDepth[20][7] = 2.5f;
    for (int shift = 0; shift < 200; ++shift) {
        FeedRandomRows();
        for (int c = -5; c <= 5; ++c) {
            ASSERT_GE(TerrainDepth[20][c], 1);
            ASSERT_LE(TerrainDepth[20][c], 7);
            ASSERT_NEAR(TerrainDepth[19][c], TerrainDepth[20][c], 0.25f + 1e-6);
        }
        ASSERT_FLOAT_EQ(TerrainDepth[20][-6], 0.7f * TerrainDepth[20][-5]);
        ASSERT_FLOAT_EQ(TerrainDepth[19][6], 0.7f * TerrainDepth[19][5]);
        ASSERT_EQ(TerrainDepth[20][7], 2.5f);
    }
}

} // namespace
} // namespace halvane
