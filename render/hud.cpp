#include "render/hud.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <span>
#include <string_view>

#include "core/game_state.h"
#include "core/image_store.h"
#include "core/numbers.h"
#include "platform/audio.h"
#include "platform/screen.h"
#include "render/font.h"
#include "world/craft.h"

namespace halvane {

namespace {

constexpr float kGaugeX = 14;
constexpr float kGaugeTop = 8;
constexpr float kGaugeBottom = 12;
constexpr int kLifeIconStep = 17;
constexpr int kLifeIconX = 105; // icon n sits at 17 n + 105
constexpr int kTextY = 7;
constexpr int kMeterBase = 110;   // screen y of the channel top on the meter
constexpr float kMeterScale = 20; // pixels per unit of depth
constexpr float kMeterClose = 11; // pixels: 0.55 units

// "label" followed by the text of a number, into `out`.
std::string_view Caption(std::span<char> out, const char *label, const char *number) {
    const int n = std::snprintf(out.data(), out.size(), "%s%s", label, number);
    const std::size_t length = n < 0 ? 0 : std::min(static_cast<std::size_t>(n), out.size() - 1);
    return {out.data(), length};
}

// The gauge blinks while the shield is low: shown in frames 1..5 and 11..15
// of every twenty.
bool GaugeShown() {
    if (Shield >= kShieldLow) return true;
    return AnimCycle20 < 6 || (AnimCycle20 > 10 && AnimCycle20 < 16);
}

} // namespace

uint32_t GaugeColour(float g) {
    if (g < 30) return kGaugeRed;
    if (g < 50) return kGaugeOrange;
    if (g < 80) return kGaugeYellow;
    return kGaugeGreen;
}

void DrawHud() {
    PutImage(10, 5, Sprites[kGaugeFrameSprite], kPutTransparent, 255);
    // Spare lives; icons past the screen's edge would draw nothing.
    for (int n = 1; static_cast<float>(n) <= Lives && kLifeIconStep * n + kLifeIconX < kScreenWidth;
         ++n) {
        PutImage(static_cast<float>(kLifeIconStep * n + kLifeIconX), 4, Sprites[kLifeIconSprite],
                 kPutTransparent, 255);
    }
    if (Shield < kShieldLow && AnimCycle20 == 10) PlayEffect(SfxShieldLow);

    float g = Shield / 10;
    if (g == 100) g = kGaugeMaxLength;
    const uint32_t colour = GaugeColour(g);
    // A spent shield (the last frames before game over) shows an empty gauge
    // rather than a box growing leftwards out of the frame.
    if (g < 0) g = 0;
    if (g > kGaugeMaxLength) g = kGaugeMaxLength;
    if (GaugeShown()) FillBox(kGaugeX, kGaugeTop, kGaugeX + g, kGaugeBottom, colour);

    std::array<char, 32> number{};
    std::array<char, 48> line{};
    NumberToText(Score, number);
    DrawText(280, kTextY, Caption(line, "SCORE: ", number.data()), GameFont, kTextSpacing,
             kTextTransparent);
    std::snprintf(number.data(), number.size(), "%d", static_cast<int>(HiScore));
    DrawText(520, kTextY, Caption(line, "HI-SCORE: ", number.data()), GameFont, kTextSpacing,
             kTextTransparent);
    if (ShowFps == 1) {
        std::snprintf(number.data(), number.size(), "%d", static_cast<int>(MeasuredFps));
        DrawText(400, kTextY, Caption(line, "FPS: ", number.data()), GameFont, kTextSpacing,
                 kTextTransparent);
    }
}

void DrawAltitudeMeter() {
    const float craftTop = kMeterBase - kMeterScale * CraftY;
    const float groundTop = kMeterBase + kMeterScale * GroundUnderCraft;
    const bool close =
        std::fabs(-kMeterScale * CraftY - kMeterScale * GroundUnderCraft) < kMeterClose;
    const uint32_t colour = close ? kMeterCloseColour : kMeterColour;
    FillBox(3, craftTop, 4, groundTop, colour);
    FillBox(637, craftTop, 636, groundTop, colour);
}

} // namespace halvane
