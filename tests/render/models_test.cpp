// The model tables and one drawn object of each kind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "core/game_state.h"
#include "tests/render/render_test_util.h"
#include "world/craft.h"
#include "world/objects.h"

namespace halvane {
namespace {

void PlaceCraft() {
    CraftX = 0;
    CraftY = -2; // depth 2
    CraftZ = 0;
    CraftRoll = CraftPitch = 4;
}

TEST(Models, LineCountsAndTheCraftsBlinking) {
    OpenBlankPage();
    BuildModels(0.1f);
    PlaceCraft();
    Ship[1] = Mine[1] = Missile[1] = {0, 8, 3, kSlotActive};
    EXPECT_EQ(DrawCraft(), 35);
    EXPECT_EQ(DrawShip(1), 38);
    EXPECT_EQ(DrawMine(1), 12);
    EXPECT_EQ(DrawMissile(1), 18);
    Ship[1].state = Mine[1].state = Missile[1].state = kSlotDestroyed;
    EXPECT_EQ(DrawShip(1) + DrawMine(1) + DrawMissile(1), 0);
    // Invulnerable: three frames on, three off.
    Invulnerable = 12;
    for (AnimCycle6 = 1; AnimCycle6 <= 6; ++AnimCycle6)
        EXPECT_EQ(DrawCraft(), AnimCycle6 > 3 ? 35 : 0) << AnimCycle6;
}

TEST(Models, VerticesLandWhereThePerspectivePutsThem) {
    OpenBlankPage();
    BuildModels(0.1f);
    // Mine at depth 2, z 5: corner (0.5, 0, 0) at (340.0, 319.7), corner 0.5
    // farther along z at (320, 306.4).
    Mine[1] = {0, 5, 2, kSlotActive};
    DrawMine(1);
    EXPECT_EQ(PixelAt(340, 320), kMineColour);
    EXPECT_EQ(PixelAt(320, 306), kMineColour);
    // Craft nose (0, 0, 0.8) at depth 2: y = 7 x 400 / 11.80001 + 40 = 277.3.
    PlaceCraft();
    DrawCraft();
    EXPECT_EQ(PixelAt(320, 277), kCraftColour);
    // A ship faces the viewer: nose at z 4.2 (y 344.0), tail fin tip
    // (0.2, 0.4, -0.8) farther at (327.4, 284.2); blue, orange from level 4.
    Ship[2] = {0, 5, 2, kSlotActive};
    ShipRoll[2] = ShipPitch[2] = 4;
    LevelNumber = 3;
    DrawShip(2);
    EXPECT_EQ(PixelAt(320, 344), kShipColourEarly);
    EXPECT_EQ(PixelAt(327, 284), kShipColourEarly);
    LevelNumber = 4;
    DrawShip(2);
    EXPECT_EQ(PixelAt(327, 284), kShipColourLate);
    // A missile's fin tip (0.15, 0.09, -0.21) lies below and behind its
    // centre: (326.1, 329.4).
    ClearWorkPage();
    Missile[1] = {0, 5, 2, kSlotActive};
    DrawMissile(1);
    EXPECT_EQ(PixelAt(326, 329), kMissileColour);
}

TEST(Models, ShipAttitudeRoundsHalvesToEven) {
    EXPECT_EQ(ShipAttitudeIndex(2.5f), 2);
    EXPECT_EQ(ShipAttitudeIndex(3.5f), 4);
    EXPECT_EQ(ShipAttitudeIndex(40), kAttitudeHigh);
    // A ship is drawn in the attitude its roll rounds to.
    OpenBlankPage();
    BuildModels(0.5f);
    Ship[1] = {0, 6, 3, kSlotActive};
    auto signature = [](float roll) {
        ClearWorkPage();
        ShipRoll[1] = roll;
        DrawShip(1);
        int64_t sum = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                sum += (ReadPixel(x, y) != 0) * (x * 7 + y * 1031);
        return sum;
    };
    EXPECT_EQ(signature(2.5f), signature(2));
    EXPECT_NE(signature(2.5f), signature(3));
}

TEST(Models, AttitudesAreRollThenPitchOfTheScaledFighter) {
    BuildModels(0.1f);
    const double deg = 3.14159265358979 / 180;
    // Roll keeps the nose (0, 0, 0.8) on its axis and tilts the wing tip
    // (0.6, -0.2, 0.4); pitch then turns the rolled shape about the x axis.
    EXPECT_FLOAT_EQ(CraftShape[4][4][17].x, 0.6f);
    EXPECT_FLOAT_EQ(CraftShape[9][4][1].y, 0.0f);
    EXPECT_NEAR(CraftShape[9][4][17].y, std::sin(40 * deg) * 0.6 - std::cos(40 * deg) * 0.2, 1e-5);
    const ModelVertex rolled = CraftShape[9][4][17];
    EXPECT_NEAR(CraftShape[9][5][17].z, std::sin(8 * deg) * rolled.y + std::cos(8 * deg) * rolled.z,
                1e-5);
    EXPECT_NEAR(CraftShape[4][-1][1].y, std::sin(40 * deg) * 0.8, 1e-5);
    EXPECT_EQ(ShipRoll[10], 4.0f); // building levels every ship
}

} // namespace
} // namespace halvane
