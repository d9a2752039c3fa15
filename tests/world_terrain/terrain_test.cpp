#include <gtest/gtest.h>

#include <limits>

#include "platform/random.h"
#include "world/terrain.h"

namespace halvane {
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
    EXPECT_NEAR(WindowSum() - before, 3.0f, 1e-4);
    EXPECT_NEAR(Window(10, 2) - Window(10, -2), 0.75f, 1e-4);
    EXPECT_NEAR(Window(9, 2) - Window(9, -2), 0.375f, 1e-4);
    EXPECT_NEAR(Window(11, 3) - Window(11, -3), 0.1875f, 1e-4);
    EXPECT_EQ(Window(12, 2), Window(12, -2)) << "two rows away is untouched";
    // At the corners only the cells inside are dug; row 0 stays.
    ResetTerrain();
    DigCrater(1, 7);
    DigCrater(20, -7);
    DigCrater(-5, 30); // wholly outside: nothing, and no crash
    EXPECT_NEAR(WindowSum() - before, 2 * (0.75f + 0.375f + 0.375f + 0.1875f), 1e-4);
    EXPECT_EQ(Window(0, 6), 0);
}

TEST(Terrain, LookUpsStayInsideTheWindow) {
    for (int r = 0; r <= 20; ++r)
        for (int c = -7; c <= 7; ++c)
            TerrainDepth[r][c] = static_cast<float>(r * 100 + c);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Halves go up: row 5, column 1.
    EXPECT_EQ(std::tuple(GroundAt(4.5f, 0.5f), GroundAt(5, 7.6f), GroundAt(5, -8.2f),
                         GroundAt(40, 100), GroundAt(nan, 1e30f), DepthAt(25, -9)),
              std::tuple(501, 507, 493, 2007, 7, 1993));
}

TEST(Terrain, ShiftsEveryTenFramesFeedsMapRowsAndRestsAtTheEnd) {
    SpeedFactor = 1;
    for (int r = 1; r <= 300; ++r) // each value names its map row and column
        for (int c = -7; c <= 7; ++c)
            LevelMap[c + 8][r] = static_cast<float>(r) + (c + 7) / 100.0f;
    ResetTerrain();
    MapPosition = -20;
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

TEST(Terrain, GeneratedRowsWalkWithinTheChannel) {
    SeedRandom(7);
    ResetTerrain();
    TerrainDepth[20][7] = 2.5f;
    for (int shift = 0; shift < 200; ++shift) {
        FeedRandomRows();
        for (int c = -5; c <= 5; ++c)
            ASSERT_TRUE(Window(20, c) >= 1 && Window(20, c) <= 7 &&
                        std::abs(Window(19, c) - Window(20, c)) <= 0.25f + 1e-6);
        ASSERT_FLOAT_EQ(Window(20, -6), 0.7f * Window(20, -5));
        ASSERT_FLOAT_EQ(Window(19, 6), 0.7f * Window(19, 5));
        ASSERT_EQ(Window(20, 7), 2.5f);
    }
}

} // namespace
} // namespace halvane
