// app_icon.h -- the game's icon as a drawing: a rounded dark tile, the
// half-pipe channel in green wire and the craft in white, as strokes on a
// 256 x 256 square. The window's icon (display_sdl.cpp) and the installed
// icons (tools/icon: the SVG and the PNG sizes) are all made from it.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace halvane {

constexpr float kIconSide = 256.0f;      // the drawing's square
constexpr float kIconInset = 12.0f;      // margin around the tile
constexpr float kIconCorner = 44.0f;     // radius of the tile's rounded corners
constexpr uint32_t kIconTile = 0x0B1030; // the tile's colour, 0xRRGGBB

// One straight stroke with round ends.
struct IconStroke {
    float x1, y1, x2, y2;
    float width;
    uint32_t colour; // 0xRRGGBB
};

constexpr int kIconStrokeCount = 40;

// The strokes in drawing order (later ones on top).
const std::array<IconStroke, kIconStrokeCount> &IconStrokes();

// Draws the icon `size` x `size` pixels into `pixels` (row by row, top row
// first, each 0xAARRGGBB with straight alpha); false when `pixels` is too
// small or `size` is not 1..1024.
bool DrawIcon(int size, std::span<uint32_t> pixels);

} // namespace halvane
