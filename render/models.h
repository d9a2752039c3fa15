// models.h -- the wire-frame models of the play field: the fighter (the
// player's craft and, with other joins, the enemy ships) pre-rotated into 121
// attitudes, the mine and the missile; their builders and their drawing.
// Start-up and the main menu build the tables; the scene drawing reads them.
#pragma once

#include <cstdint>

#include "core/offset_array.h"

namespace halvane {

constexpr int kFighterVertices = 21;
constexpr int kMineVertices = 6;
constexpr int kMissileVertices = 13;

// Attitude indices: (index - 4) x 8 degrees of roll or pitch, 4 = level.
constexpr int kAttitudeLow = -1;
constexpr int kAttitudeHigh = 9;
constexpr int kLevelAttitude = 4;

constexpr uint32_t kCraftColour = 0xABABAB;
constexpr uint32_t kShipColourEarly = 0x2131FF; // levels 1..3
constexpr uint32_t kShipColourLate = 0xE25618;  // levels 4 and 5
constexpr uint32_t kMineColour = 0x00FFFF;
constexpr uint32_t kMissileColour = 0xFF40FF;

// A model vertex: x to the right, y up (craft, ships) or down (mines,
// missiles), z forwards.
struct ModelVertex {
    float x;
    float y;
    float z;
};

// The vertices a vertex is joined to, as vertex numbers; 0 = no join.
using VertexJoins = OffsetArray<float, 1, 2>;

template <int N> using ModelShape = OffsetArray<ModelVertex, 1, N>;
template <int N> using ModelJoins = OffsetArray<VertexJoins, 1, N>;
using FighterShape = ModelShape<kFighterVertices>;
using AttitudeRow = OffsetArray<FighterShape, kAttitudeLow, kAttitudeHigh>;

// --- tables, filled by the builders below -----------------------------------
extern OffsetArray<AttitudeRow, kAttitudeLow, kAttitudeHigh> CraftShape; // [roll][pitch]
extern ModelJoins<kFighterVertices> CraftEdges;
extern ModelJoins<kFighterVertices> ShipEdges;
extern ModelShape<kMineVertices> MineShape;
extern ModelJoins<kMineVertices> MineEdges;
extern ModelShape<kMissileVertices> MissileShape;
extern ModelJoins<kMissileVertices> MissileEdges;

// Size of the fighter when CraftShape is built; the launch sets 0.1.
extern float CraftModelScale;

// Sine and cosine of (i - 4) x 8 degrees for i = -1..9. Filled by start-up
// (FillAngleTables) before the first BuildCraftModels.
extern OffsetArray<float, kAttitudeLow, kAttitudeHigh> AngleSin;
extern OffsetArray<float, kAttitudeLow, kAttitudeHigh> AngleCos;

// --- builders ------------------------------------------------------------
// Fills AngleSin and AngleCos. Called once by start-up.
void FillAngleTables();
// Fills MissileShape and MissileEdges. Called once by start-up.
void BuildMissileModel();
// Fills MineShape and MineEdges. Called at every main-menu entry.
void BuildMineModel();
// Fills CraftEdges, ShipEdges and all 121 attitudes of CraftShape from the
// base fighter scaled by CraftModelScale (roll first, then pitch); levels the
// attitude of ships 1..10. Called by start-up and by the launch.
void BuildCraftModels();

// --- drawing (DrawScene and DrawCraftLayer) ----------------------------------
// Each draws one object in its colour onto the work page, when it is to be
// seen, and returns the number of lines drawn.
// The player's craft at (CraftX, CraftY, CraftZ) in attitude (CraftRoll,
// CraftPitch); blinks three frames on, three off while Invulnerable.
int DrawCraft();
// Ship i (state 1), nose towards the viewer, attitude ShipRoll/ShipPitch[i].
int DrawShip(int i);
// Mine i and missile i (state 1).
int DrawMine(int i);
int DrawMissile(int i);

// Attitude index of a ship's float attitude: nearest, ties to even, kept
// inside the table.
int ShipAttitudeIndex(float attitude);

} // namespace halvane
