// hud.h -- the head-up display across the top of the play field (shield
// gauge, spare lives, score, hi-score, frame rate) and the altitude meter at
// the screen's edges. Drawn by DrawScene and DrawCraftLayer.
#pragma once

#include <cstdint>

namespace halvane {

constexpr uint32_t kGaugeGreen = 0x00C000;
constexpr uint32_t kGaugeYellow = 0xEDE743; // below 80 %
constexpr uint32_t kGaugeOrange = 0xFF9001; // below 50 %
constexpr uint32_t kGaugeRed = 0xFF0000;    // below 30 %
constexpr float kShieldLow = 140;           // below this the gauge blinks and warns
constexpr float kGaugeMaxLength = 99;       // pixels beyond the gauge's first column

constexpr uint32_t kMeterColour = 0x00FFFF;
constexpr uint32_t kMeterCloseColour = 0xFF0000; // craft within 0.55 of the ground

// Sprite slots of the gauge frame (107 x 11) and the life icon (14 x 12).
constexpr int kGaugeFrameSprite = 1;
constexpr int kLifeIconSprite = 7;

// Colour of the shield gauge for a length of g pixels.
uint32_t GaugeColour(float g);

// The whole display, over what the scene drew. Reads Shield, Lives, Score,
// HiScore, ShowFps, MeasuredFps, AnimCycle20; plays SfxShieldLow every 20
// frames while the shield is low. Called at the end of DrawScene.
void DrawHud();

// Two bars at x 3..4 and 636..637 from the craft's height down to the
// ground's; red when the craft is within 0.55 of the ground. Called at the end
// of DrawCraftLayer when OptAltitudeMeter is 1.
void DrawAltitudeMeter();

} // namespace halvane
