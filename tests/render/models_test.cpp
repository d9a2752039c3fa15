// The model tables and one drawn object of each kind.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

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
    OpenBlankPage();
    BuildModels(0.5f);
    Ship[1] = {0, 6, 3, kSlotActive};
    auto drawnWith = [](float roll) {
        ClearWorkPage();
        ShipRoll[1] = roll;
        DrawShip(1);
        std::vector<uint32_t> pixels;
        for (int y = 150; y < 480; ++y)
            for (int x = 150; x < 490; ++x)
                pixels.push_back(PixelAt(x, y));
        return pixels;
    };
    EXPECT_EQ(drawnWith(2.5f), drawnWith(2));
    EXPECT_NE(drawnWith(2.5f), drawnWith(3));
}

TEST(Models, AttitudesAreRollThenPitchOfTheScaledFighter) {
    BuildModels(0.1f);
    auto length = [](const ModelVertex &v) { return std::hypot(v.x, v.y, v.z); };
    const FighterShape &level = CraftShape[4][4];
    EXPECT_FLOAT_EQ(level[17].x, 0.6f);
    for (int roll = kAttitudeLow; roll <= kAttitudeHigh; ++roll)
        for (int pitch = kAttitudeLow; pitch <= kAttitudeHigh; ++pitch)
            for (int v = 1; v <= kFighterVertices; ++v)
                ASSERT_NEAR(length(CraftShape[roll][pitch][v]), length(level[v]), 1e-5f);
    // Roll keeps the nose on its axis and tilts the wing tip (0.6, -0.2, 0.4).
    const double deg = 3.14159265358979 / 180;
    EXPECT_FLOAT_EQ(CraftShape[9][4][1].y, 0.0f);
    EXPECT_NEAR(CraftShape[9][4][17].y, std::sin(40 * deg) * 0.6 - std::cos(40 * deg) * 0.2, 1e-5);
    // Pitch 5 turns the rolled shape by 8 degrees about the x axis.
    const ModelVertex rolled = CraftShape[9][4][17];
    EXPECT_NEAR(CraftShape[9][5][17].z, std::sin(8 * deg) * rolled.y + std::cos(8 * deg) * rolled.z,
                1e-5);
    EXPECT_NEAR(CraftShape[4][5][1].y, -std::sin(8 * deg) * 0.8, 1e-5);
    EXPECT_EQ(ShipRoll[10], 4.0f); // building levels every ship
}

} // namespace
} // namespace halvane
