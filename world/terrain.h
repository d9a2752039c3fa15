// terrain.h -- the terrain window and the level map: the ground depths that
// stream toward the viewer, how they scroll, shift and get fed from the level
// map, and craters. World, render and screens code read them.
//
// Coordinates: x lateral (column c = floor(x + 0.5), -7 left .. 7 right), z
// rows ahead of the viewer (row r = floor(z + 0.5)), y depth below the top of
// the channel (7 is the bottom of the starting half-pipe, larger is deeper).
#pragma once

#include <cstdint>

#include "core/offset_array.h"

namespace halvane {

constexpr int kWindowFirstRow = 0; // row 0 is never written and reads 0
constexpr int kWindowLastRow = 20; // rows 19 and 20 are fed at each shift
constexpr int kLeftColumn = -7;
constexpr int kRightColumn = 7;

constexpr int kMapFirstRow = -20; // rows -20..0 are never loaded and stay 0
constexpr int kMapLastRow = 300;
constexpr int kMapFields = 30;   // fields 1..15 depths, 16..30 colour codes
constexpr float kMapStart = -20; // MapPosition at the start of a level
constexpr float kMapEnd = 280;   // the window rests on map rows 281..300
constexpr float kEndWarningAt = 270;

// One row of ground depths, columns -7..7.
using TerrainRow = OffsetArray<float, kLeftColumn, kRightColumn>;
// One field of the level map across all map rows.
using MapColumn = OffsetArray<float, kMapFirstRow, kMapLastRow>;

// TerrainDepth[row][column]: rows 0..20, columns -7..7.
extern OffsetArray<TerrainRow, kWindowFirstRow, kWindowLastRow> TerrainDepth;
// LevelMap[field][mapRow]: field 1..15 depth of column field - 8, field
// 16..30 colour code of column field - 23; field 0 is never used.
extern OffsetArray<MapColumn, 0, kMapFields> LevelMap;

extern float ScrollOffset;       // 0 down to -2; window row r is drawn at r + ScrollOffset
extern float MapPosition;        // -20..280 in steps of 2; window row r shows map row r + this
extern float TravelSinceCheck;   // distance since the last end-structure check
extern int32_t EndWarningPlayed; // 1 once the end-approach effect played this level
extern float SpeedFactor;        // multiplier of every per-frame movement (1.0)
// 1 while the level's file is broken: new rows come from FeedRandomRows.
extern int32_t GeneratedTerrain;

// Fills rows 1..20, columns -6..6 with the starting half-pipe. Called by the
// main menu and by the per-level reset.
void ResetTerrain();

// Depth of the window cell at (row, column), both taken to the nearest edge
// when outside 0..20 and -7..7. Every terrain look-up goes through it.
float DepthAt(int row, int column);

// Ground depth under the point (z, x): cell (floor(z + 0.5), floor(x + 0.5)),
// kept inside the window. Missiles, ships and mines use it without the scroll.
float GroundAt(float z, float x);

// Once per frame after drawing: scrolls the window by 0.2 x SpeedFactor and
// counts the travel; holds the scroll at 0 once the window rests at the end.
void AdvanceTerrain();

// Once per frame after the craft update: when the scroll reaches -2, moves the
// window two rows on, feeds the two new far rows (from the map, or generated)
// and spawns enemies.
void ShiftTerrain();

// Copies map rows 19 + MapPosition and 20 + MapPosition into window rows 19, 20.
void FeedRowsFromMap();

// Generated terrain: a random walk on the previous far row makes rows 19, 20.
void FeedRandomRows();

// A crater of 3.0 depth over the 3 x 3 cells around (row, column); cells
// outside the window are left out. Called by missile impacts.
void DigCrater(int row, int column);

} // namespace halvane
