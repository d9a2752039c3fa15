#include <cmath>

#include "core/game_state.h"
#include "flight_fixture.h"
#include "world/craft.h"
#include "world/missiles.h"
#include "world/objects.h"
#include "world/terrain.h"
#include "world/world_update.h"

namespace halvane {
namespace {

using MissileTest = FlightTest;

// One world update that launches a missile, with the fire input spent after.
void LaunchOne() {
    FireCooldown = kMissileLeavesAt;
    UpdateWorld();
    FireCooldown = 0;
}

TEST_F(MissileTest, LevelShotFliesSixTenthsOfARowPerFrameAlongItsArc) {
    LaunchOne();
    ASSERT_EQ(Missile[1].state, kSlotActive);
    EXPECT_EQ(Missile[1].x, 0.5f);
    EXPECT_NEAR(Missile[1].z, 5.6f, 1e-5f);
    // It sinks while nearer than row 15 and rises beyond: deepest 0.392 below 1.9.
    float deepest = Missile[1].y;
    int frames = 1;
    for (; Missile[1].state == kSlotActive; ++frames) {
        ObjectRecord before = Missile[1];
        UpdateWorld();
        if (Missile[1].state == kSlotActive) {
            EXPECT_NEAR(Missile[1].z, before.z + 0.6f, 1e-4f);
            EXPECT_EQ(Missile[1].y > before.y, Missile[1].z < 15) << Missile[1].z;
            deepest = std::max(deepest, Missile[1].y);
        }
    }
    EXPECT_NEAR(deepest, 1.9f + 0.392f, 1e-4f);
    EXPECT_EQ(frames, 25); // 24 moves past row 19, ended by the next update
    EXPECT_EQ(MissileCount, 0);
    UpdateWorld();
    EXPECT_EQ(Missile[1].state, kSlotFree);
}

TEST_F(MissileTest, LaunchFrameOnlyMovesThenTheGroundStopsTheMissile) {
    FillGround(1); // the missile starts below this ground
    LaunchOne();
    EXPECT_EQ(TerrainDepth[6][1], 1);
    UpdateWorld(); // bursts at z 5.6, x 0.5: the crater centres on cell (6, 1)
    EXPECT_EQ(Missile[1].state, kSlotDestroyed);
    EXPECT_FLOAT_EQ(TerrainDepth[6][1], 1.75f);
    EXPECT_FLOAT_EQ(TerrainDepth[5][1], 1.375f);
    EXPECT_FLOAT_EQ(TerrainDepth[7][2], 1.1875f);
    // Shots from beyond the side limits burst without digging.
    FillGround(1);
    for (float side : {7.12f, -7.12f}) {
        CraftX = side;
        MissileSide = side > 0 ? 0.5f : -0.5f;
        LaunchOne();
        UpdateWorld();
        EXPECT_EQ(Missile[1].state, kSlotDestroyed);
    }
    for (int r = 0; r <= 20; ++r)
        for (int c = -7; c <= 7; ++c)
            ASSERT_EQ(TerrainDepth[r][c], 1) << r << "," << c;
}

TEST_F(MissileTest, LaunchTakesTheLowestFreeSlotNotADestroyedOne) {
    Missile[1] = ObjectRecord{0, 10, 1, kSlotDestroyed};
    Missile[3] = ObjectRecord{0, 10, 1, kSlotActive};
    MissileCount = 1;
    for (int slot : {2, 4}) {
        FireCooldown = kMissileLeavesAt;
        LaunchMissile();
        EXPECT_EQ(Missile[slot].state, kSlotActive);
    }
    EXPECT_EQ(MissileCount, 3);
    EXPECT_EQ(Missile[4].x, -0.5f); // the other launcher
}

TEST_F(MissileTest, OnlyTheLowerNumberedOfTwoMissilesScoresOnOneTarget) {
    Ship[3] = ObjectRecord{1, 10, 2, kSlotActive};
    Mine[2] = ObjectRecord{-3, 12, 4, kSlotActive};
    ShipCount = MineCount = 1;
    Missile[2] = ObjectRecord{1.5f, 10.5f, 2.5f, kSlotActive};
    Missile[5] = ObjectRecord{0.5f, 9.5f, 1.5f, kSlotActive};
    Missile[1] = ObjectRecord{-3.7f, 12, 4, kSlotActive};
    Missile[4] = ObjectRecord{-2.5f, 12.7f, 3.3f, kSlotActive};
    MissileCount = 4;
    UpdateWorld();
    EXPECT_EQ(Score, 15);
    EXPECT_EQ(Ship[3].state + Mine[2].state + Missile[2].state + Missile[1].state,
              4 * kSlotDestroyed);
    EXPECT_EQ(Missile[5].state + Missile[4].state, 2 * kSlotActive);
    EXPECT_EQ(MissileCount, 2);
    EXPECT_EQ(ShipCount + MineCount, 0);
}

} // namespace
} // namespace halvane
