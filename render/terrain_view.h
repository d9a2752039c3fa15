// terrain_view.h -- the wire-frame play field: the terrain rows in painter's
// order with the objects among them, then the head-up display; and the layer
// over it with the craft, the nearest rows and the altitude meter. Called by
// the game loop, the craft's explosion and the game-over sequence. Neither
// procedure clears or presents the page.
#pragma once

#include <cstdint>

namespace halvane {

constexpr int kFarRow = 20;            // DrawScene starts here
constexpr int kNearRow = 2;            // and ends here
constexpr int kCraftLayerFirstRow = 5; // rows 5..2 are drawn again over the craft

// Colour of a terrain colour code 0..5; any other code keeps `colour`.
uint32_t TerrainColour(float code, uint32_t colour);

// Terrain row r (2..20): for each column, the line to the same column one row
// nearer and the line to the next column, in the colour of the point's code.
// `colour` carries the colour from point to point within one drawing.
void DrawTerrainRow(int r, uint32_t &colour);

// Rows 20..2 with the mines, ships 1..5 and missiles of their bands, then the
// head-up display.
void DrawScene();

// The craft, rows 5..2 with their ships over it, and the altitude meter when
// OptAltitudeMeter is 1.
void DrawCraftLayer();

} // namespace halvane
