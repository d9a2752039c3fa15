#include <cmath>
#include <utility>

#include "core/game_state.h"
#include "flight_fixture.h"
#include "platform/random.h"
#include "world/craft.h"
#include "world/enemies.h"
#include "world/objects.h"
#include "world/terrain.h"
#include "world/world_update.h"

namespace halvane {
namespace {

using EnemyTest = FlightTest;

int ActiveShips() {
    int n = 0;
    for (int i = 1; i <= kShipSlots; ++i)
        n += Ship[i].state == kSlotActive;
    return n;
}

// Puts a ship (odd calls) or a mine (even calls) into the craft's collision
// window, in the lowest free slot, as creation would.
void PlaceRammer(int call) {
    float depth = -CraftY;
    if (call % 2 == 1) {
        Ship[LowestFreeSlot(Ship, kShipSlots)] =
            ObjectRecord{CraftX + 0.9f, kCraftRow + CraftZ + 0.75f, depth - 0.4f, kSlotActive};
        ShipCount += 1;
    } else {
        Mine[LowestFreeSlot(Mine, kMineSlots)] =
            ObjectRecord{CraftX - 0.9f, kCraftRow + CraftZ + 0.1f, depth + 0.4f, kSlotActive};
        MineCount += 1;
    }
}

TEST_F(EnemyTest, FullShieldSurvivesNineRamsButNotTenAndTheLastLifeEndsTheGame) {
    for (int ram = 1; ram <= 9; ++ram) {
        PlaceRammer(ram);
        UpdateWorld();
        EXPECT_EQ(Shield, 1000 - 100 * ram);
    }
    EXPECT_EQ(ShipCount + MineCount + MissedShips + MissedMines + Score, 0);
    MouseX = 500;
    FireCooldown = 3;
    PlaceRammer(10);
    UpdateWorld();
    EXPECT_EQ(Lives, 1);
    EXPECT_EQ(Shield, 1000);
    EXPECT_EQ(Invulnerable, 40);
    EXPECT_EQ(GameOverShown, 0);
    Lives = Invulnerable = 0; // the last life: game over, no refill
    Shield = 50;
    PlaceRammer(1);
    UpdateWorld();
    EXPECT_EQ(Lives, -1);
    EXPECT_EQ(Shield, -50);
    EXPECT_EQ(GameOverShown, 1);
}

TEST_F(EnemyTest, DamageOfOneFrameIsSummedBeforeTheLifeCheck) {
    Shield = 141; // a ram and ground contact: 140, and exactly 1 left survives
    PlaceRammer(1);
    GroundUnderCraft = 1, CraftY = -1.5f;
    Ship[1].y = 1.5f; // the ram is tested before the craft is lifted
    UpdateWorld();
    EXPECT_EQ(Shield, 1);
    EXPECT_EQ(Lives, 2);
    Invulnerable = 5; // rammers are destroyed all the same, without damage
    PlaceRammer(1);
    PlaceRammer(2);
    UpdateWorld();
    EXPECT_EQ(Shield, 1);
    EXPECT_EQ(ShipCount + MineCount, 0);
}

TEST_F(EnemyTest, EnemiesJustOutsideTheCollisionWindowPass) {
    float depth = -CraftY;
    Ship[1] = ObjectRecord{CraftX, 5.5f, depth, kSlotActive};        // not yet 0.5 ahead
    Ship[2] = ObjectRecord{CraftX + 1, 5.8f, depth, kSlotActive};    // a full unit aside
    Mine[1] = ObjectRecord{CraftX, 5.9f, depth + 0.5f, kSlotActive}; // half a unit below
    ShipCount = 2, MineCount = 1;
    UpdateWorld();
    EXPECT_EQ(Shield, 1000);
    EXPECT_EQ(ShipCount + MineCount, 3);
}

TEST_F(EnemyTest, EnemiesBehindTheViewerCountAsMissedOnce) {
    Ship[2] = ObjectRecord{0, 0.1f, 1, kSlotActive};
    Mine[4] = ObjectRecord{0, 0.1f, 1, kSlotActive};
    ShipCount = MineCount = 1;
    for (int i = 0; i < 3; ++i)
        UpdateWorld(); // behind the viewer, counted, then freed
    EXPECT_EQ(Ship[2].state + Mine[4].state, kSlotFree);
    EXPECT_EQ(std::pair(MissedShips, MissedMines), std::pair(1.0f, 1.0f));
    EXPECT_EQ(ShipCount + MineCount, 0);
}

TEST_F(EnemyTest, EndPhaseLaunchFillsAllTenSlotsButRegularShipsStopAtFive) {
    SeedRandom(5);
    for (int i = 1; i <= 5; ++i)
        Ship[i].state = kSlotActive;
    ShipCount = 5;
    SpawnEnemies();
    EXPECT_EQ(ShipCount, 5);
    for (int check = 0; check < 200; ++check)
        LaunchEndPhaseShip();
    EXPECT_EQ(ShipCount, 10);
    EXPECT_EQ(ActiveShips(), 10);
    for (int i = 6; i <= 10; ++i) {
        EXPECT_EQ(Ship[i].z, 20);
        EXPECT_TRUE(Ship[i].x >= -5 && Ship[i].x < 6) << Ship[i].x;
    }
}

TEST_F(EnemyTest, MinesSitOnWholeColumnsAtTheFarRowsAndStopFromMapPosition260) {
    SeedRandom(3);
    auto minesMade = [](float mapPosition) {
        MapPosition = mapPosition;
        int made = 0;
        for (int shift = 0; shift < 200; ++shift) {
            SpawnEnemies();
            for (int i = 1; i <= kMineSlots; ++i) {
                if (Mine[i].state == kSlotActive) {
                    EXPECT_EQ(Mine[i].x, std::floor(Mine[i].x));
                    EXPECT_TRUE(Mine[i].z == 19 || Mine[i].z == 20);
                    EXPECT_LE(Mine[i].y, 50);
                    Mine[i].state = kSlotFree;
                    ++made;
                }
            }
            MineCount = 0;
        }
        return made;
    };
    EXPECT_GT(minesMade(258), 100);
    EXPECT_EQ(minesMade(260), 0);
    EXPECT_EQ(minesMade(280), 0);
}

TEST_F(EnemyTest, ShipHomesOnTheCraftUntilRowTenThenFliesStraight) {
    CraftX = 3, CraftY = -5;
    Ship[1] = ObjectRecord{-5, 20, 1, kSlotActive};
    ShipCount = 1;
    MoveShips();
    EXPECT_FLOAT_EQ(Ship[1].x, -4.47f); // a fifteenth of 8, to hundredths
    EXPECT_FLOAT_EQ(Ship[1].y, 1.27f);
    EXPECT_EQ(ShipRoll[1], 1); // far to the left and above: clamped
    EXPECT_EQ(ShipPitch[1], 7);
    while (Ship[1].z > 10)
        MoveShips();
    FillGround(0.5f); // ships skim over ground higher than their course
    const float x = Ship[1].x, y = Ship[1].y;
    EXPECT_TRUE(x > 0 && x < 3) << x;
    EXPECT_EQ(std::pair(ShipRoll[1], ShipPitch[1]), std::pair(4.0f, 4.0f));
    CraftX = -3; // too late to follow
    for (int i = 0; i < 20; ++i)
        MoveShips();
    EXPECT_EQ(Ship[1].x, x);
    EXPECT_EQ(Ship[1].y, 0.5f);
    EXPECT_GT(y, 0.5f);
}

} // namespace
} // namespace halvane
