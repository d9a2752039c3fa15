// The terrain rows and the painter's order of the scene, pixel by pixel.
#include <gtest/gtest.h>

#include "core/game_state.h"
#include "render/models.h"
#include "render/terrain_view.h"
#include "tests/render/render_test_util.h"
#include "world/objects.h"

namespace halvane {
namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kGreen = 0x00C000;
constexpr uint32_t kCyan = 0x00FFFF;

// Colour code of column c on map row `mapRow`.
void SetCode(int mapRow, int c, float code) {
    LevelMap[c + 23][mapRow] = code;
}

void PaintAllCodes(float code) {
    for (int row = kMapFirstRow; row <= kMapLastRow; ++row)
        for (int c = kLeftColumn; c <= kRightColumn; ++c)
            SetCode(row, c, code);
}

int LitPixelsBelow(int top) {
    int lit = 0;
    for (int y = top; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (PixelAt(x, y) != 0) ++lit;
    return lit;
}

TEST(TerrainRow, FlatFloorLandsOnThePerspectivePixels) {
    OpenBlankPage();
    FlattenGround(7);
    ScrollOffset = 0;
    MapPosition = 0;
    PaintAllCodes(3);
    uint32_t colour = 0;
    DrawTerrainRow(20, colour);
    // Row 20 at 12 x 400 / 25.01 + 40 = 231.9; columns -7..7 at 320 -+ 112.0.
    for (int x = 208; x <= 432; ++x)
        ASSERT_EQ(PixelAt(x, 232), kGreen) << x;
    EXPECT_EQ(PixelAt(207, 232), 0u);
    EXPECT_EQ(PixelAt(433, 232), 0u);
    EXPECT_EQ(PixelAt(320, 231), 0u);
    // The line of column 7 reaches row 19 at (436.6, 239.9).
    EXPECT_EQ(PixelAt(437, 240), kGreen);
    EXPECT_EQ(PixelAt(438, 240), 0u);
}

TEST(TerrainRow, ScrollSlidesTheGridTowardsTheViewer) {
    OpenBlankPage();
    FlattenGround(7);
    PaintAllCodes(3);
    ScrollOffset = -1;
    uint32_t colour = 0;
    DrawTerrainRow(20, colour);
    // Row 20 now lies where row 19 lies unscrolled.
    EXPECT_EQ(PixelAt(320, 232), 0u);
    EXPECT_EQ(PixelAt(320, 240), kGreen);
    EXPECT_EQ(PixelAt(437, 240), kGreen);
}

TEST(TerrainRow, ColourCodesComeFromTheMapRowAndUnknownCodesKeepTheLast) {
    OpenBlankPage();
    FillBox(0, 0, 639, 479, 0xFFFFFF);
    FlattenGround(7);
    ScrollOffset = 0;
    MapPosition = 10; // window row 20 shows map row 30
    PaintAllCodes(4);
    SetCode(30, -7, 7); // unknown first code: the starting colour, black
    SetCode(30, -6, 2);
    SetCode(30, -5, 9); // unknown: stays blue
    SetCode(30, -4, 0);
    uint32_t colour = 0;
    DrawTerrainRow(20, colour);
    EXPECT_EQ(PixelAt(215, 232), 0u);    // column -7 to -6, drawn black
    EXPECT_EQ(PixelAt(230, 232), kBlue); // -6 to -5
    EXPECT_EQ(PixelAt(248, 232), kBlue); // -5 to -4 keeps blue
    EXPECT_EQ(PixelAt(262, 232), kRed);  // -4 to -3
    EXPECT_EQ(PixelAt(300, 232), 0x646464u);
    EXPECT_EQ(TerrainColour(2.5f, kGreen), kGreen);
    EXPECT_EQ(TerrainColour(-1, kGreen), kGreen);
}

TEST(Scene, NearerRowsAreDrawnOverAnObjectAndItOverFartherOnes) {
    OpenBlankPage();
    FlattenGround(7);
    ScrollOffset = 0;
    MapPosition = 0;
    PaintAllCodes(3);
    BuildMineModel();
    // A mine on the floor between rows 10 and 11, drawn in row 11's pass only.
    Mine[1] = {0, 10.5f, 7, kSlotActive};
    DrawScene();
    // Its far corner sits on row 11's line (drawn before it), its near corner
    // on row 10's (drawn after it).
    EXPECT_EQ(PixelAt(320, 340), kCyan);
    EXPECT_EQ(PixelAt(320, 360), kGreen);
}

TEST(Scene, OnlyLiveObjectsOfTheDrawnSlotsAppear) {
    OpenBlankPage();
    FlattenGround(100); // the ground lies below the screen
    PaintAllCodes(3);
    CraftModelScale = 0.1f;
    FillAngleTables();
    BuildCraftModels();
    BuildMineModel();
    BuildMissileModel();
    Shield = 1000;
    Ship[7] = {0, 10.5f, 3, kSlotActive}; // end-phase ships are not drawn
    Mine[2] = {1, 10.5f, 3, kSlotDestroyed};
    Missile[3] = {-1, 10.5f, 3, kSlotDestroyed};
    Mine[3] = {2, 20.5f, 3, kSlotActive}; // beyond the farthest band
    DrawScene();
    EXPECT_EQ(LitPixelsBelow(20), 0);
    Missile[3].state = kSlotActive;
    DrawScene();
    EXPECT_GT(LitPixelsBelow(20), 0);
}

TEST(CraftLayer, RedrawsNearShipsOverTheCraftButNotMissilesOrMines) {
    OpenBlankPage();
    FlattenGround(100);
    CraftModelScale = 0.1f;
    FillAngleTables();
    BuildCraftModels();
    BuildMineModel();
    BuildMissileModel();
    OptAltitudeMeter = 0;
    Invulnerable = 10;
    AnimCycle6 = 1; // the craft is in its dark frames
    Missile[1] = {0, 3.5f, 3, kSlotActive};
    Mine[1] = {2, 3.5f, 3, kSlotActive};
    DrawCraftLayer();
    EXPECT_EQ(LitPixelsBelow(0), 0);
    Ship[1] = {0, 3.5f, 3, kSlotActive};
    DrawCraftLayer();
    EXPECT_GT(LitPixelsBelow(0), 0);
}

} // namespace
} // namespace halvane
