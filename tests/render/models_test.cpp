// The model tables and one drawn object of each kind.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/game_state.h"
#include "render/models.h"
#include "tests/render/render_test_util.h"
#include "world/craft.h"
#include "world/objects.h"

namespace halvane {
namespace {

void BuildAllModels(float scale) {
    CraftModelScale = scale;
    FillAngleTables();
    BuildCraftModels();
    BuildMineModel();
    BuildMissileModel();
}

float Length(const ModelVertex &v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

TEST(Models, EachKindIsDrawnWithItsNumberOfLines) {
    OpenBlankPage();
    BuildAllModels(0.1f);
    CraftX = 0;
    CraftY = -2;
    CraftZ = 0;
    CraftRoll = 4;
    CraftPitch = 4;
    EXPECT_EQ(DrawCraft(), 35);
    Ship[1] = {0, 8, 3, kSlotActive};
    EXPECT_EQ(DrawShip(1), 38);
    Mine[1] = {0, 8, 3, kSlotActive};
    EXPECT_EQ(DrawMine(1), 12);
    Missile[1] = {0, 8, 3, kSlotActive};
    EXPECT_EQ(DrawMissile(1), 18);
    // Destroyed this frame: not drawn.
    Ship[1].state = kSlotDestroyed;
    Mine[1].state = kSlotDestroyed;
    Missile[1].state = kSlotDestroyed;
    EXPECT_EQ(DrawShip(1) + DrawMine(1) + DrawMissile(1), 0);
}

TEST(Models, CraftBlinksThreeFramesOnThreeOffWhileInvulnerable) {
    OpenBlankPage();
    BuildAllModels(0.1f);
    CraftY = -2;
    CraftRoll = CraftPitch = 4;
    Invulnerable = 12;
    int shown = 0;
    for (AnimCycle6 = 1; AnimCycle6 <= 6; ++AnimCycle6) {
        const int lines = DrawCraft();
        EXPECT_EQ(lines, AnimCycle6 > 3 ? 35 : 0) << AnimCycle6;
        shown += lines > 0;
    }
    EXPECT_EQ(shown, 3);
}

TEST(Models, VerticesLandWhereThePerspectivePutsThem) {
    OpenBlankPage();
    BuildAllModels(0.1f);
    // Mine at x 0, depth 2, z 5: corner (0.5, 0, 0) at (339.98, 319.72), corner
    // (0, 0.5, 0) along z at (320, 306.5).
    Mine[1] = {0, 5, 2, kSlotActive};
    DrawMine(1);
    EXPECT_EQ(PixelAt(340, 320), kMineColour);
    EXPECT_EQ(PixelAt(320, 306), kMineColour);
    ClearWorkPage();
    // Craft nose (0, 0, 0.8) at depth 2: y = 7 x 400 / 11.80001 + 40 = 277.3.
    CraftX = 0;
    CraftY = -2;
    CraftZ = 0;
    CraftRoll = CraftPitch = 4;
    DrawCraft();
    EXPECT_EQ(PixelAt(320, 277), kCraftColour);
    ClearWorkPage();
    // A ship's nose points at the viewer: z 5 - 0.8, y = 2800 / 9.21 + 40 = 344.0.
    Ship[2] = {0, 5, 2, kSlotActive};
    ShipRoll[2] = ShipPitch[2] = 4;
    LevelNumber = 3;
    DrawShip(2);
    EXPECT_EQ(PixelAt(320, 344), kShipColourEarly);
    // Its tail fin tip (0.2, 0.4, -0.8) lies farther away: (327.4, 284.2).
    EXPECT_EQ(PixelAt(327, 284), kShipColourEarly);
    LevelNumber = 4;
    DrawShip(2);
    EXPECT_EQ(PixelAt(320, 344), kShipColourLate);
}

TEST(Models, ShipAttitudeRoundsHalvesToEven) {
    EXPECT_EQ(ShipAttitudeIndex(2.5f), 2);
    EXPECT_EQ(ShipAttitudeIndex(3.5f), 4);
    EXPECT_EQ(ShipAttitudeIndex(2.6f), 3);
    EXPECT_EQ(ShipAttitudeIndex(40), kAttitudeHigh);

    // Same pixels as the attitude it rounds to, other pixels than the next one.
    OpenBlankPage();
    BuildAllModels(0.5f);
    Ship[1] = {0, 6, 3, kSlotActive};
    auto drawnWith = [](float roll) {
        ClearWorkPage();
        ShipRoll[1] = roll;
        ShipPitch[1] = 4;
        DrawShip(1);
        std::vector<uint32_t> pixels;
        for (int y = 150; y < 480; ++y)
            for (int x = 150; x < 490; ++x)
                pixels.push_back(PixelAt(x, y));
        return pixels;
    };
    EXPECT_EQ(drawnWith(2.5f), drawnWith(2));
    EXPECT_NE(drawnWith(2.5f), drawnWith(3));
    EXPECT_EQ(drawnWith(3.5f), drawnWith(4));
}

TEST(Models, AttitudesAreRotationsOfTheScaledFighter) {
    BuildAllModels(0.1f);
    const FighterShape &level = CraftShape[4][4];
    EXPECT_FLOAT_EQ(level[1].z, 0.8f); // the nose, scaled
    EXPECT_FLOAT_EQ(level[17].x, 0.6f);
    for (int roll = kAttitudeLow; roll <= kAttitudeHigh; ++roll) {
        for (int pitch = kAttitudeLow; pitch <= kAttitudeHigh; ++pitch) {
            for (int v = 1; v <= kFighterVertices; ++v) {
                ASSERT_NEAR(Length(CraftShape[roll][pitch][v]), Length(level[v]), 1e-5f)
                    << roll << " " << pitch << " " << v;
            }
        }
    }
    // Roll turns about the nose axis: the nose stays; a wing tip tilts.
    EXPECT_FLOAT_EQ(CraftShape[9][4][1].z, 0.8f);
    EXPECT_FLOAT_EQ(CraftShape[9][4][1].y, 0.0f);
    const float s40 = std::sin(40.0f * 3.14159265f / 180.0f);
    const float c40 = std::cos(40.0f * 3.14159265f / 180.0f);
    EXPECT_NEAR(CraftShape[9][4][17].y, s40 * 0.6f + c40 * -0.2f, 1e-5f);
    // Pitch follows the roll: at (9, 5) the rolled tip is tipped 8 degrees.
    const float s8 = std::sin(8.0f * 3.14159265f / 180.0f);
    const float c8 = std::cos(8.0f * 3.14159265f / 180.0f);
    const ModelVertex rolled = CraftShape[9][4][17];
    EXPECT_NEAR(CraftShape[9][5][17].z, s8 * rolled.y + c8 * rolled.z, 1e-5f);
    EXPECT_NEAR(CraftShape[4][5][1].y, -s8 * 0.8f, 1e-5f);
    // Building levels every ship.
    EXPECT_EQ(ShipRoll[10], 4.0f);
    EXPECT_EQ(ShipPitch[1], 4.0f);
}

TEST(Models, StartUpScaleZeroGivesAPointFighter) {
    BuildAllModels(0);
    for (int v = 1; v <= kFighterVertices; ++v)
        EXPECT_EQ(Length(CraftShape[2][7][v]), 0.0f);
}

TEST(Models, MineAndMissileAreStoredInTenths) {
    BuildMineModel();
    BuildMissileModel();
    EXPECT_FLOAT_EQ(MineShape[2].z, 0.5f);
    EXPECT_FLOAT_EQ(MineShape[6].y, -0.5f);
    // Raw (0, -2.1, 1.3): z = -0.21, y = 1.3 / -10.
    EXPECT_FLOAT_EQ(MissileShape[12].z, -0.21f);
    EXPECT_FLOAT_EQ(MissileShape[12].y, -0.13f);
    EXPECT_FLOAT_EQ(MissileShape[10].x, 0.15f);
}

} // namespace
} // namespace halvane
