// Terrain rows on their perspective pixels, colour codes, painter's order.
#include <gtest/gtest.h>

#include "core/game_state.h"
#include "render/terrain_view.h"
#include "tests/render/render_test_util.h"
#include "world/objects.h"

namespace halvane {
namespace {

constexpr uint32_t kGreen = 0x00C000;

TEST(TerrainRow, FlatFloorLandsOnThePerspectivePixels) {
    OpenBlankPage();
    FlattenGround(7, 3);
    uint32_t colour = 0;
    DrawTerrainRow(20, colour);
    // Row 20 at 12 x 400 / 25.01 + 40 = 231.9; columns -7..7 at 320 -+ 112.0.
    for (int x = 208; x <= 432; ++x)
        ASSERT_EQ(PixelAt(x, 232), kGreen) << x;
    EXPECT_EQ(PixelAt(207, 232) | PixelAt(433, 232) | PixelAt(320, 231), 0u);
    // Column 7 runs on to row 19 at (436.6, 239.9).
    EXPECT_EQ(PixelAt(437, 240), kGreen);
    // Scrolled by one row, row 20 lies where row 19 lay.
    ClearWorkPage();
    ScrollOffset = -1;
    DrawTerrainRow(20, colour);
    EXPECT_EQ(PixelAt(320, 232), 0u);
    EXPECT_EQ(PixelAt(320, 240), kGreen);
}

TEST(TerrainRow, ColourCodesComeFromTheMapRowAndUnknownCodesKeepTheLast) {
    OpenBlankPage();
    FillBox(0, 0, 639, 479, 0xFFFFFF);
    FlattenGround(7, 4);
    MapPosition = 10; // window row 20 shows map row 30
    const float codes[] = {7, 2, 9, 0};
    for (int i = 0; i < 4; ++i)
        LevelMap[16 + i][30] = codes[i];
    uint32_t colour = 0;
    DrawTerrainRow(20, colour);
    EXPECT_EQ(PixelAt(215, 232), 0u);        // -7: unknown first code, black
    EXPECT_EQ(PixelAt(230, 232), 0x0000FFu); // -6
    EXPECT_EQ(PixelAt(248, 232), 0x0000FFu); // -5: unknown, keeps blue
    EXPECT_EQ(PixelAt(262, 232), 0xFF0000u); // -4
    EXPECT_EQ(PixelAt(300, 232), 0x646464u);
}

TEST(Scene, NearerRowsAreDrawnOverAnObjectAndItOverFartherOnes) {
    OpenBlankPage();
    FlattenGround(7, 3);
    BuildModels(0.1f);
    // A mine on the floor between rows 10 and 11, drawn in row 11's pass.
    Mine[1] = {0, 10.5f, 7, kSlotActive};
    DrawScene();
    EXPECT_EQ(PixelAt(320, 340), kMineColour); // on row 11's line
    EXPECT_EQ(PixelAt(320, 360), kGreen);      // on row 10's line
}

TEST(Scene, OnlyLiveObjectsOfTheDrawnSlotsAndBandsAppear) {
    OpenBlankPage();
    FlattenGround(100, 3);
    BuildModels(0.1f);
    OptAltitudeMeter = 0;
    Invulnerable = 10;
    AnimCycle6 = 1;                       // the craft in its dark frames
    Ship[7] = {0, 10.5f, 3, kSlotActive}; // end-of-level ships are not drawn
    Mine[2] = {1, 10.5f, 3, kSlotDestroyed};
    Mine[3] = {2, 20.5f, 3, kSlotActive}; // beyond the farthest band
    DrawScene();
    EXPECT_EQ(LitPixels(), 0);
    Missile[1] = {0, 3.5f, 3, kSlotActive}; // the craft layer skips missiles and mines
    Mine[4] = {1, 3.5f, 3, kSlotActive};
    DrawCraftLayer();
    EXPECT_EQ(LitPixels(), 0);
    Ship[1] = {0, 3.5f, 3, kSlotActive}; // near ships are drawn again over the craft
    DrawCraftLayer();
    EXPECT_GT(LitPixels(), 0);
}

} // namespace
} // namespace halvane
