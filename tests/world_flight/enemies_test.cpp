#include <algorithm>
#include <cmath>

#include "core/game_state.h"
#include "flight_fixture.h"
#include "platform/random.h"
#include "platform/screen.h"
#include "world/craft.h"
#include "world/enemies.h"
#include "world/objects.h"
#include "world/terrain.h"
#include "world/world_update.h"

namespace halvane {
namespace {

using EnemyTest = FlightTest;

// Whether the work page shows the explosion's red near the craft's place.
bool ExplosionNearCraft() {
    float s = (11.00001f + CraftZ) / 400;
    float cx = CraftX / s + 320;
    float cy = (5 - CraftY) / s + 40;
    for (float y = cy - 45; y <= cy + 45; ++y) {
        for (float x = cx - 45; x <= cx + 45; ++x) {
            if (ReadPixel(x, y) == 0xFF0000) {
                return true;
            }
        }
    }
    return false;
}

// Puts a ship (odd calls) or a mine (even calls) into the craft's collision
// window, in the lowest free slot, as creation would.
void PlaceRammer(int call) {
    float depth = -CraftY;
    if (call % 2 == 1) {
        int slot = LowestFreeSlot(Ship, kShipSlots);
        Ship[slot] =
            ObjectRecord{CraftX + 0.9f, kCraftRow + CraftZ + 0.75f, depth - 0.4f, kSlotActive};
        ShipCount += 1;
    } else {
        int slot = LowestFreeSlot(Mine, kMineSlots);
        Mine[slot] =
            ObjectRecord{CraftX - 0.9f, kCraftRow + CraftZ + 0.1f, depth + 0.4f, kSlotActive};
        MineCount += 1;
    }
}

TEST_F(EnemyTest, FullShieldSurvivesNineRamsButNotTen) {
    for (int ram = 1; ram <= 9; ++ram) {
        PlaceRammer(ram);
        UpdateWorld();
        EXPECT_EQ(Shield, 1000 - 100 * ram);
    }
    EXPECT_EQ(Lives, 2);
    EXPECT_EQ(ShipCount, 0);
    EXPECT_EQ(MineCount, 0);
    EXPECT_EQ(MissedShips + MissedMines, 0);
    EXPECT_EQ(Score, 0);

    MouseX = 500;
    FireCooldown = 3;
    PlaceRammer(10);
    UpdateWorld();
    EXPECT_EQ(Lives, 1);
    EXPECT_EQ(Shield, 1000);
    EXPECT_EQ(Invulnerable, 40);
    EXPECT_EQ(MouseX, 310);
    EXPECT_EQ(MouseY, 4);
    EXPECT_EQ(FireCooldown, 0);
    EXPECT_EQ(GameOverShown, 0);
    // The explosion is drawn in red around the craft's place on the screen.
    EXPECT_TRUE(ExplosionNearCraft());
}

TEST_F(EnemyTest, DamageOfOneFrameIsSummedBeforeTheLifeCheck) {
    // A ram and ground contact together: 140; exactly 1 left survives.
    Shield = 141;
    PlaceRammer(1);
    GroundUnderCraft = 1;
    CraftY = -1.5f;
    Ship[1].y = 1.5f; // the ram is tested before the craft is lifted
    UpdateWorld();
    EXPECT_EQ(Shield, 1);
    EXPECT_EQ(Lives, 2);

    // Invulnerable: rammers are destroyed all the same, without damage.
    Invulnerable = 5;
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
    ShipCount = 2;
    MineCount = 1;
    UpdateWorld();
    EXPECT_EQ(Shield, 1000);
    EXPECT_EQ(ShipCount, 2);
    EXPECT_EQ(MineCount, 1);
}

TEST_F(EnemyTest, LosingTheLastLifeRunsGameOverWithoutRefill) {
    Lives = 0;
    Shield = 50;
    PlaceRammer(1);
    UpdateWorld();
    EXPECT_EQ(Lives, -1);
    EXPECT_EQ(Shield, -50);
    EXPECT_EQ(GameOverShown, 1);
    EXPECT_EQ(Invulnerable, 0);
}

TEST_F(EnemyTest, EnemiesBehindTheViewerCountAsMissedOnce) {
    Ship[2] = ObjectRecord{0, 0.1f, 1, kSlotActive};
    Mine[4] = ObjectRecord{0, 0.1f, 1, kSlotActive};
    ShipCount = 1;
    MineCount = 1;
    UpdateWorld(); // both move behind the viewer
    UpdateWorld(); // and are counted
    EXPECT_EQ(MissedShips, 1);
    EXPECT_EQ(MissedMines, 1);
    EXPECT_EQ(Ship[2].state, kSlotDestroyed);
    UpdateWorld();
    EXPECT_EQ(Ship[2].state, kSlotFree);
    EXPECT_EQ(Mine[4].state, kSlotFree);
    EXPECT_EQ(MissedShips, 1);
    EXPECT_EQ(ShipCount, 0);
    EXPECT_EQ(MineCount, 0);
}

TEST_F(EnemyTest, EndPhaseLaunchFillsAllTenSlotsInOrder) {
    SeedRandom(5);
    for (int i = 1; i <= 5; ++i) {
        Ship[i].state = kSlotActive;
    }
    ShipCount = 5;
    SpawnEnemies();
    EXPECT_EQ(ShipCount, 5); // no regular ship beyond five
    for (int check = 0; check < 200; ++check) {
        LaunchEndPhaseShip();
    }
    EXPECT_EQ(ShipCount, 10);
    EXPECT_EQ(ActiveShips(), 10);
    for (int i = 6; i <= 10; ++i) {
        EXPECT_EQ(Ship[i].z, 20);
        EXPECT_GE(Ship[i].x, -5);
        EXPECT_LT(Ship[i].x, 6);
    }
}

TEST_F(EnemyTest, NoMinesFromMapPosition260On) {
    SeedRandom(3);
    auto minesMade = [](float mapPosition) {
        MapPosition = mapPosition;
        int made = 0;
        for (int shift = 0; shift < 200; ++shift) {
            SpawnEnemies();
            for (int i = 1; i <= kMineSlots; ++i) {
                if (Mine[i].state == kSlotActive) {
                    EXPECT_EQ(Mine[i].x, std::floor(Mine[i].x)); // whole columns
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
    CraftX = 3;
    CraftY = -5;
    Ship[1] = ObjectRecord{-5, 20, 1, kSlotActive};
    ShipCount = 1;
    MoveShips();
    EXPECT_FLOAT_EQ(Ship[1].x, -4.47f); // an fifteenth of 8, to hundredths
    EXPECT_FLOAT_EQ(Ship[1].y, 1.27f);
    EXPECT_EQ(ShipRoll[1], 1);  // far to the left: clamped
    EXPECT_EQ(ShipPitch[1], 7); // far above: clamped
    while (Ship[1].z > 10) {
        MoveShips();
    }
    // Ships skim over ground higher than their course.
    FillGround(0.5f);
    float x = Ship[1].x;
    float y = Ship[1].y;
    EXPECT_GT(x, 0);
    EXPECT_LT(x, 3);
    EXPECT_EQ(ShipRoll[1], 4);
    EXPECT_EQ(ShipPitch[1], 4);
    CraftX = -3; // too late to follow
    for (int i = 0; i < 20; ++i) {
        MoveShips();
    }
    EXPECT_EQ(Ship[1].x, x);
    EXPECT_EQ(Ship[1].y, 0.5f);
    EXPECT_GT(y, 0.5f);
}

} // namespace
} // namespace halvane
