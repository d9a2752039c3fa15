// paint.h -- the picture tool: paints every picture file the game reads with
// the game's own primitives on the work page, then writes each page as a
// 24-bit BMP. Deterministic: the same source always gives the same bytes.
#pragma once

#include <cstdint>

namespace halvane {

// --- the pictures, one procedure each; each leaves its page on the work page
void PaintFontSheet();          // font_sheet.cpp
void PaintMenuPicture();        // menu_picture.cpp
void PaintBackdrop(int number); // backdrops.cpp, 1..4
void PaintEndPicture();         // backdrops.cpp
void PaintBriefingPicture();    // briefing_picture.cpp; also keeps the script strips' ground
void PaintScriptStrips();       // briefing_picture.cpp; after PaintBriefingPicture
void PaintHudSprites();         // hud_sprites.cpp

// --- helpers shared by the pictures (paint_helpers.cpp) ----------------------
constexpr uint32_t kMagenta = 0xFF00FF;

uint32_t Rgb(double r, double g, double b); // channels clamped to 0..255
void Plot(int x, int y, uint32_t colour);
// Adds light to a pixel of the work page.
void AddLight(int x, int y, double r, double g, double b);
// A hash of three integers to [0, 1): the tool's only source of chance.
double Chance(int a, int b, int seed);
// Smooth value noise in about [0, 1], summed over a few octaves.
double CloudNoise(double x, double y, int seed);
// Vertical gradient from `top` colour at y0 to `bottom` at y1.
void PaintGradient(int y0, int y1, uint32_t top, uint32_t bottom);
// Scattered stars above `horizon` (y); a few of the brightest get flares.
void PaintStars(int count, int horizon, int seed, int brightness);
// A star with four short flares.
void PaintFlareStar(int x, int y, uint32_t colour);

} // namespace halvane
