// The wire-frame view on headless pages: terrain, models, painter's order and the HUD.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/screen.h"
#include "render/hud.h"
#include "render/models.h"
#include "render/terrain_view.h"
#include "world/craft.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {
namespace {

constexpr uint32_t kGreen = 0x00C000;

uint32_t PixelAt(int x, int y) {
    return static_cast<uint32_t>(ReadPixel(x, y));
}

// Lit pixels below the head-up display.
int LitPixels() {
    int lit = 0;
    for (int y = 20; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            lit += PixelAt(x, y) != 0;
    return lit;
}

// A cleared page over ground `depth` deep (100: below the screen) of one colour code.
void SetUpView(float depth, float colourCode, float scale = 0.1f) {
    OpenOffscreenPages(32);
    SetPages(1, 0);
    ClearWorkPage();
    for (int r = 1; r <= kWindowLastRow; ++r)
        TerrainDepth[r].Fill(depth);
    for (int c = kLeftColumn; c <= kRightColumn; ++c)
        LevelMap[c + 23].Fill(colourCode);
    CraftModelScale = scale;
    FillAngleTables();
    BuildCraftModels();
    BuildMineModel();
    BuildMissileModel();
}

TEST(TerrainRow, FlatFloorLandsOnThePerspectivePixelsInTheColoursOfItsMapRow) {
    SetUpView(7, 3);
    FillBox(0, 0, 639, 479, 0xFFFFFF);
    MapPosition = 10; // window row 20 shows map row 30
    LevelMap[16][30] = 7, LevelMap[17][30] = 2, LevelMap[18][30] = 9, LevelMap[19][30] = 0;
    uint32_t colour = 0;
    DrawTerrainRow(20, colour);
    // Row 20 at 12 x 400 / 25.01 + 40 = 231.9, columns -7..7 at 320 -+ 112.0; columns -7
    // (unknown first code: black), -6, -5 (unknown: keeps blue), -4.
    const std::pair<int, uint32_t> pixels[] = {{207, 0xFFFFFF}, {215, 0u},       {230, 0x0000FF},
                                               {248, 0x0000FF}, {262, 0xFF0000}, {433, 0xFFFFFF}};
    for (auto [x, expected] : pixels)
        EXPECT_EQ(PixelAt(x, 232), expected) << x;
    for (int x = 272; x <= 432; ++x)
        ASSERT_EQ(PixelAt(x, 232), kGreen) << x;
    EXPECT_EQ(PixelAt(437, 240), kGreen); // column 7 runs on to row 19 at (436.6, 239.9)
    // Scrolled by one row, row 20 lies where row 19 lay.
    ClearWorkPage();
    ScrollOffset = -1;
    DrawTerrainRow(20, colour);
    EXPECT_EQ(std::pair(PixelAt(320, 232), PixelAt(320, 240)), std::pair(0u, kGreen));
}

TEST(Models, LineCountsPixelsColoursAndAttitudesRollThenPitchShipsRoundingHalvesToEven) {
    SetUpView(100, 3);
    CraftY = -2, CraftRoll = CraftPitch = 4; // depth 2, level
    Ship[1] = Mine[1] = Missile[1] = {0, 8, 3, kSlotActive};
    EXPECT_EQ(std::tuple(DrawCraft(), DrawShip(1), DrawMine(1), DrawMissile(1)),
              std::tuple(35, 38, 12, 18));
    Ship[1].state = Mine[1].state = Missile[1].state = kSlotDestroyed;
    EXPECT_EQ(DrawShip(1) + DrawMine(1) + DrawMissile(1), 0);
    // Mine at depth 2, z 5: corner (0.5, 0, 0) at (340.0, 319.7), (0, 0, 0.5) at (320, 306.4).
    ClearWorkPage();
    Mine[1] = {0, 5, 2, kSlotActive};
    DrawMine(1);
    EXPECT_EQ(PixelAt(340, 320) & PixelAt(320, 306), kMineColour);
    // Craft nose (0, 0, 0.8) at depth 2: y = 7 x 400 / 11.80001 + 40 = 277.3.
    DrawCraft();
    EXPECT_EQ(PixelAt(320, 277), kCraftColour);
    // A ship faces the viewer: nose at z 4.2 (y 344.0), fin tip (0.2, 0.4, -0.8) at
    // (327.4, 284.2); blue, orange from level 4.
    Ship[2] = {0, 5, 2, kSlotActive};
    ShipRoll[2] = ShipPitch[2] = 4;
    LevelNumber = 3;
    DrawShip(2);
    EXPECT_EQ(PixelAt(320, 344) & PixelAt(327, 284), kShipColourEarly);
    LevelNumber = 4;
    DrawShip(2);
    EXPECT_EQ(PixelAt(327, 284), kShipColourLate);
    // A missile's fin tip (0.15, 0.09, -0.21) lies below and behind it: (326.1, 329.4).
    Missile[1] = {0, 5, 2, kSlotActive};
    DrawMissile(1);
    EXPECT_EQ(PixelAt(326, 329), kMissileColour);
    // Invulnerable: three frames on, three off.
    Invulnerable = 12;
    for (AnimCycle6 = 1; AnimCycle6 <= 6; ++AnimCycle6)
        EXPECT_EQ(DrawCraft(), AnimCycle6 > 3 ? 35 : 0) << AnimCycle6;

    const double deg = 3.14159265358979 / 180;
    // Roll keeps the nose (0, 0, 0.8) on its axis and tilts the wing tip (0.6, -0.2, 0.4);
    // pitch then turns the rolled shape about the x axis.
    const ModelVertex rolled = CraftShape[9][4][17];
    EXPECT_FLOAT_EQ(CraftShape[9][4][1].y, 0.0f);
    EXPECT_NEAR(rolled.y, std::sin(40 * deg) * 0.6 - std::cos(40 * deg) * 0.2, 1e-5);
    EXPECT_NEAR(CraftShape[9][5][17].z, std::sin(8 * deg) * rolled.y + std::cos(8 * deg) * rolled.z,
                1e-5);
    EXPECT_NEAR(CraftShape[4][-1][1].y, std::sin(40 * deg) * 0.8, 1e-5);
    EXPECT_EQ(ShipRoll[10], 4.0f); // building levels every ship

    EXPECT_EQ(std::tuple(ShipAttitudeIndex(2.5f), ShipAttitudeIndex(3.5f), ShipAttitudeIndex(40)),
              std::tuple(2, 4, kAttitudeHigh));
    // A ship is drawn in the attitude its roll rounds to.
    SetUpView(100, 3, 0.5f);
    Ship[1] = {0, 6, 3, kSlotActive};
    auto lit = [](float roll) {
        ClearWorkPage();
        ShipRoll[1] = roll;
        DrawShip(1);
        return LitPixels();
    };
    EXPECT_EQ(lit(2.5f), lit(2));
    EXPECT_NE(lit(2.5f), lit(3));
}

TEST(Scene, PaintersOrderAndOnlyLiveObjectsOfTheDrawnSlotsAndBands) {
    // A mine on the floor between rows 10 and 11 is drawn over row 11's line, under row 10's.
    SetUpView(7, 3);
    Mine[1] = {0, 10.5f, 7, kSlotActive};
    DrawScene();
    EXPECT_EQ(std::pair(PixelAt(320, 340), PixelAt(320, 360)), std::pair(kMineColour, kGreen));

    SetUpView(100, 3);
    OptAltitudeMeter = 0, Invulnerable = 10, AnimCycle6 = 1; // the craft in its dark frames
    Mine[1] = {1, 10.5f, 3, kSlotDestroyed};
    Ship[7] = {0, 10.5f, 3, kSlotActive}; // end-of-level ships are not drawn
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

TEST(Hud, GaugeLengthColourBlinkingLifeIconsAndAltitudeBars) {
    SetUpView(100, 3);
    // Below 140 the gauge blinks (shown in frames 1..5, 11..15). 100 would overrun the
    // frame: 99; a spent shield stays inside it.
    const float shield[] = {1000, 790, 450, 139, 139, 139, 139, 140, -60};
    const int cycle[] = {1, 1, 1, 5, 6, 11, 16, 8, 1};
    const int last[] = {113, 93, 59, 28, -1, 28, -1, 28, 14}; // -1: dark
    const uint32_t colour[] = {kGaugeGreen, kGaugeYellow, kGaugeOrange, kGaugeRed, 0, kGaugeRed,
                               0,           kGaugeRed,    kGaugeRed};
    for (int i = 0; i < 9; ++i) {
        ClearWorkPage();
        Shield = shield[i], AnimCycle20 = cycle[i];
        DrawHud();
        int first = -1, end = -1;
        for (int x = 0; x < 130; ++x)
            if (PixelAt(x, 10) != 0) end = x, first = first < 0 ? x : first;
        const uint32_t seen = end < 0 ? 0 : PixelAt(end, 10) & PixelAt(14, 8) & PixelAt(14, 12);
        EXPECT_EQ(std::tuple(first, end, seen),
                  std::tuple(last[i] < 0 ? -1 : 14, last[i], colour[i]))
            << shield[i] << " " << cycle[i];
        EXPECT_EQ(PixelAt(14, 7) | PixelAt(14, 13), 0u);
    }
    // One icon per spare life.
    FillBox(0, 0, 13, 11, 0x123456);
    GrabImage(0, 0, 13, 11, Sprites[kLifeIconSprite]);
    for (int lives : {2, 0}) {
        ClearWorkPage();
        Shield = 1000, Lives = lives;
        DrawHud();
        for (int x : {122, 135, 139, 152})
            EXPECT_EQ(PixelAt(x, 4), lives == 2 ? 0x123456u : 0u) << x;
        EXPECT_EQ(PixelAt(121, 4) | PixelAt(156, 4), 0u);
    }
    // The altitude bars span craft to ground and turn red when close.
    ClearWorkPage();
    CraftY = -2, GroundUnderCraft = 7; // y 150 and 250
    DrawAltitudeMeter();
    for (int x : {3, 4, 636, 637}) {
        EXPECT_EQ(PixelAt(x, 150) & PixelAt(x, 250), kMeterColour) << x;
        EXPECT_EQ(PixelAt(x, 149) | PixelAt(x, 251), 0u) << x;
    }
    EXPECT_EQ(PixelAt(2, 200) | PixelAt(5, 200) | PixelAt(635, 200) | PixelAt(638, 200), 0u);
    for (float depth : {6.5f, 6.4f}) { // 0.5 above the ground is close, 0.6 is not
        CraftY = -depth;
        DrawAltitudeMeter();
        EXPECT_EQ(PixelAt(3, 245) & PixelAt(637, 245),
                  depth > 6.45f ? kMeterCloseColour : kMeterColour);
    }
    // The craft layer draws the bars with the option on (off: the scene test's dark page).
    ClearWorkPage();
    Invulnerable = 5, AnimCycle6 = 1, OptAltitudeMeter = 1;
    DrawCraftLayer();
    EXPECT_EQ(PixelAt(3, 245), kMeterColour);
}

} // namespace
} // namespace halvane
