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

constexpr uint32_t kIconColour = 0x123456;

// A plain 14 x 12 life icon in sprite slot 7.
void MakeLifeIcon() {
    ClearWorkPage();
    FillBox(0, 0, 13, 11, kIconColour);
    GrabImage(0, 0, 13, 11, Sprites[kLifeIconSprite]);
    ClearWorkPage();
}

// Last lit column of the gauge row, or 0 when the gauge is dark.
int GaugeEnd(uint32_t &colour) {
    int end = 0;
    colour = 0;
    for (int x = 14; x < 130; ++x) {
        if (PixelAt(x, 10) != 0) {
            end = x;
            colour = PixelAt(x, 10);
        }
    }
    return end;
}

TEST(Hud, GaugeLengthAndColourFollowTheShield) {
    OpenBlankPage();
    AnimCycle20 = 1;
    uint32_t colour = 0;
    Shield = 1000; // 100 would overrun the frame: 99
    DrawHud();
    EXPECT_EQ(GaugeEnd(colour), 113);
    EXPECT_EQ(colour, kGaugeGreen);
    EXPECT_EQ(PixelAt(14, 8), kGaugeGreen);
    EXPECT_EQ(PixelAt(14, 12), kGaugeGreen);
    EXPECT_EQ(PixelAt(14, 13), 0u);

    ClearWorkPage();
    Shield = 790;
    DrawHud();
    EXPECT_EQ(GaugeEnd(colour), 93);
    EXPECT_EQ(colour, kGaugeYellow);

    ClearWorkPage();
    Shield = 450;
    DrawHud();
    EXPECT_EQ(GaugeEnd(colour), 59);
    EXPECT_EQ(colour, kGaugeOrange);
}

TEST(Hud, LowShieldGaugeIsRedAndBlinks) {
    OpenBlankPage();
    Shield = 139; // 13.9 pixels: x 14..27.9, rounded to 28
    uint32_t colour = 0;
    int shownFrames = 0;
    for (AnimCycle20 = 1; AnimCycle20 <= 20; ++AnimCycle20) {
        ClearWorkPage();
        DrawHud();
        const int end = GaugeEnd(colour);
        const bool expectShown = AnimCycle20 < 6 || (AnimCycle20 > 10 && AnimCycle20 < 16);
        EXPECT_EQ(end != 0, expectShown) << AnimCycle20;
        if (end != 0) {
            EXPECT_EQ(end, 28);
            EXPECT_EQ(colour, kGaugeRed);
            ++shownFrames;
        }
    }
    EXPECT_EQ(shownFrames, 10);
    // At 140 it is steady again.
    Shield = 140;
    AnimCycle20 = 8;
    ClearWorkPage();
    DrawHud();
    EXPECT_EQ(GaugeEnd(colour), 28);
}

TEST(Hud, SpentShieldKeepsTheGaugeInsideItsFrame) {
    OpenBlankPage();
    AnimCycle20 = 1;
    Shield = -60;
    DrawHud();
    for (int x = 0; x < 14; ++x)
        EXPECT_EQ(PixelAt(x, 10), 0u) << x;
}

TEST(Hud, OneIconPerSpareLife) {
    OpenBlankPage();
    MakeLifeIcon();
    Shield = 1000;
    Lives = 2;
    DrawHud();
    EXPECT_EQ(PixelAt(122, 4), kIconColour);
    EXPECT_EQ(PixelAt(135, 15), kIconColour);
    EXPECT_EQ(PixelAt(139, 4), kIconColour);
    EXPECT_EQ(PixelAt(152, 15), kIconColour);
    EXPECT_EQ(PixelAt(121, 4), 0u);
    EXPECT_EQ(PixelAt(156, 4), 0u); // no third icon

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
        EXPECT_EQ(PixelAt(x, 150), kMeterColour) << x;
        EXPECT_EQ(PixelAt(x, 250), kMeterColour) << x;
        EXPECT_EQ(PixelAt(x, 149), 0u) << x;
        EXPECT_EQ(PixelAt(x, 251), 0u) << x;
    }
    EXPECT_EQ(PixelAt(2, 200), 0u);
    EXPECT_EQ(PixelAt(5, 200), 0u);
    EXPECT_EQ(PixelAt(635, 200), 0u);
    EXPECT_EQ(PixelAt(638, 200), 0u);

    CraftY = -6.5f; // 0.5 above the ground
    DrawAltitudeMeter();
    EXPECT_EQ(PixelAt(3, 245), kMeterCloseColour);
    EXPECT_EQ(PixelAt(637, 250), kMeterCloseColour);

    ClearWorkPage();
    CraftY = -6.4f; // 0.6 above: still cyan
    DrawAltitudeMeter();
    EXPECT_EQ(PixelAt(3, 245), kMeterColour);
}

TEST(AltitudeMeter, OptionOffDrawsNoBars) {
    OpenBlankPage();
    FlattenGround(100);
    CraftY = -2;
    GroundUnderCraft = 7;
    Invulnerable = 5;
    AnimCycle6 = 1; // craft hidden
    OptAltitudeMeter = 0;
    DrawCraftLayer();
    EXPECT_EQ(PixelAt(3, 200), 0u);
    OptAltitudeMeter = 1;
    DrawCraftLayer();
    EXPECT_EQ(PixelAt(3, 200), kMeterColour);
}

} // namespace
} // namespace halvane
