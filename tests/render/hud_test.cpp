// The shield gauge, the life icons and the altitude meter.
#include <gtest/gtest.h>

#include "core/game_state.h"
#include "core/image_store.h"
#include "render/hud.h"
#include "render/terrain_view.h"
#include "tests/render/render_test_util.h"
#include "world/craft.h"

namespace halvane {
namespace {

// Last lit column of the gauge (0 when dark) and its colour, after DrawHud.
int GaugeEnd(float shield, int cycle, uint32_t &colour) {
    ClearWorkPage();
    Shield = shield;
    AnimCycle20 = cycle;
    DrawHud();
    int end = 0;
    for (int x = 0; x < 130; ++x)
        if (PixelAt(x, 10) != 0) end = x;
    colour = PixelAt(end, 10);
    return end;
}

TEST(Hud, GaugeLengthColourAndBlinking) {
    OpenBlankPage();
    uint32_t colour = 0;
    EXPECT_EQ(GaugeEnd(1000, 1, colour), 113); // 100 would overrun the frame: 99
    EXPECT_EQ(colour, kGaugeGreen);
    EXPECT_EQ(PixelAt(14, 8) & PixelAt(14, 12), kGaugeGreen);
    EXPECT_EQ(PixelAt(14, 13), 0u);
    EXPECT_EQ(GaugeEnd(790, 1, colour), 93);
    EXPECT_EQ(colour, kGaugeYellow);
    EXPECT_EQ(GaugeEnd(450, 1, colour), 59);
    EXPECT_EQ(colour, kGaugeOrange);
    // Below 140: 13.9 pixels (x 14..28), red, shown in frames 1..5 and 11..15.
    for (int cycle = 1; cycle <= 20; ++cycle) {
        const bool shown = cycle < 6 || (cycle > 10 && cycle < 16);
        EXPECT_EQ(GaugeEnd(139, cycle, colour), shown ? 28 : 0) << cycle;
    }
    EXPECT_EQ(GaugeEnd(139, 1, colour), 28);
    EXPECT_EQ(colour, kGaugeRed);
    EXPECT_EQ(GaugeEnd(140, 8, colour), 28); // steady again
    // A spent shield keeps the gauge inside its frame.
    GaugeEnd(-60, 1, colour);
    for (int x = 0; x < 14; ++x)
        EXPECT_EQ(PixelAt(x, 10), 0u) << x;
}

TEST(Hud, OneIconPerSpareLife) {
    OpenBlankPage();
    FillBox(0, 0, 13, 11, 0x123456);
    GrabImage(0, 0, 13, 11, Sprites[kLifeIconSprite]);
    ClearWorkPage();
    Shield = 1000;
    Lives = 2;
    DrawHud();
    for (int x : {122, 135, 139, 152})
        EXPECT_EQ(PixelAt(x, 4), 0x123456u) << x;
    EXPECT_EQ(PixelAt(121, 4) | PixelAt(156, 4), 0u);
    ClearWorkPage();
    Lives = 0;
    DrawHud();
    EXPECT_EQ(PixelAt(122, 4), 0u);
}

TEST(AltitudeMeter, BarsSpanCraftToGroundAndTurnRedWhenClose) {
    OpenBlankPage();
    CraftY = -2;          // depth 2: y 150
    GroundUnderCraft = 7; // y 250
    DrawAltitudeMeter();
    for (int x : {3, 4, 636, 637}) {
        EXPECT_EQ(PixelAt(x, 150) & PixelAt(x, 250), kMeterColour) << x;
        EXPECT_EQ(PixelAt(x, 149) | PixelAt(x, 251), 0u) << x;
    }
    EXPECT_EQ(PixelAt(2, 200) | PixelAt(5, 200) | PixelAt(635, 200) | PixelAt(638, 200), 0u);
    CraftY = -6.5f; // 0.5 above the ground
    DrawAltitudeMeter();
    EXPECT_EQ(PixelAt(3, 245), kMeterCloseColour);
    CraftY = -6.4f; // 0.6 above
    DrawAltitudeMeter();
    EXPECT_EQ(PixelAt(637, 245), kMeterColour);
    // The craft layer draws the bars only with the option on.
    ClearWorkPage();
    FlattenGround(100, 3);
    Invulnerable = 5;
    AnimCycle6 = 1;
    OptAltitudeMeter = 0;
    DrawCraftLayer();
    EXPECT_EQ(PixelAt(3, 245), 0u);
    OptAltitudeMeter = 1;
    DrawCraftLayer();
    EXPECT_EQ(PixelAt(3, 245), kMeterColour);
}

} // namespace
} // namespace halvane
