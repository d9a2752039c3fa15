#include "render/terrain_view.h"

#include <cmath>

#include "core/game_state.h"
#include "core/numbers.h"
#include "platform/screen.h"
#include "render/hud.h"
#include "render/models.h"
#include "render/projection.h"
#include "world/level.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {

namespace {

constexpr int kColourCodeField = 23; // LevelMap field of column c is c + 23

// Window row r shows map row r + MapPosition; kept inside the map.
int MapRowOf(int r) {
    const int row = RoundEven(MapPosition + static_cast<float>(r));
    if (row < kMapFirstRow) return kMapFirstRow;
    if (row > kMapLastRow) return kMapLastRow;
    return row;
}

// Ships 1..5 in the band r - 2 < z < r.
void DrawShipsOfRow(int r) {
    const float row = static_cast<float>(r);
    for (int i = 1; i <= kRegularShipSlots; ++i) {
        if (Ship[i].state != kSlotFree && Ship[i].z > row - 2 && Ship[i].z < row) DrawShip(i);
    }
}

} // namespace

uint32_t TerrainColour(float code, uint32_t colour) {
    int k = 0;
    for (const uint32_t known : kTerrainColours) {
        if (code == static_cast<float>(k)) return known;
        ++k;
    }
    return colour;
}

void DrawTerrainRow(int r, uint32_t &colour) {
    const float z = static_cast<float>(r) + ScrollOffset;
    const float nearerZ = static_cast<float>(r - 1) + ScrollOffset;
    const int mapRow = MapRowOf(r);
    for (int c = kLeftColumn; c <= kRightColumn; ++c) {
        const ScreenPoint a = Project(static_cast<float>(c), TerrainDepth[r][c], z, kFieldDistance);
        const ScreenPoint b =
            Project(static_cast<float>(c), TerrainDepth[r - 1][c], nearerZ, kFieldDistance);
        // The last column's line across is the single point itself.
        const int next = c < kRightColumn ? c + 1 : c;
        const ScreenPoint across =
            Project(static_cast<float>(next), TerrainDepth[r][next], z, kFieldDistance);
        colour = TerrainColour(LevelMap[c + kColourCodeField][mapRow], colour);
        DrawLine(a.x, a.y, b.x, b.y, colour);
        DrawLine(a.x, a.y, across.x, across.y, colour);
    }
}

void DrawScene() {
    uint32_t colour = 0;
    for (int r = kFarRow; r >= kNearRow; --r) {
        DrawTerrainRow(r, colour);
        const float row = static_cast<float>(r);
        for (int i = 1; i <= kMineSlots; ++i) {
            if (Mine[i].state != kSlotFree && Mine[i].z > row - 1.1f && Mine[i].z < row)
                DrawMine(i);
        }
        DrawShipsOfRow(r);
        for (int i = 1; i <= kMissileSlots; ++i) {
            if (Missile[i].state != kSlotFree && Missile[i].z > row - 2 && Missile[i].z < row) {
                DrawMissile(i);
            }
        }
    }
    DrawHud();
}

void DrawCraftLayer() {
    DrawCraft();
    uint32_t colour = 0;
    for (int r = kCraftLayerFirstRow; r >= kNearRow; --r) {
        DrawTerrainRow(r, colour);
        DrawShipsOfRow(r);
    }
    if (OptAltitudeMeter == 1) DrawAltitudeMeter();
}

} // namespace halvane
