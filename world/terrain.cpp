#include "world/terrain.h"

#include <cmath>

#include "platform/audio.h"
#include "platform/random.h"
#include "world/enemies.h"

namespace halvane {

OffsetArray<TerrainRow, kWindowFirstRow, kWindowLastRow> TerrainDepth;
OffsetArray<MapColumn, 0, kMapFields> LevelMap;

float ScrollOffset = 0;
float MapPosition = 0;
float TravelSinceCheck = 0;
int32_t EndWarningPlayed = 0;
float SpeedFactor = 0;
int32_t GeneratedTerrain = 0;

namespace {

// The cell a coordinate belongs to, floor(v + 0.5), kept within lo..hi. A
// value that is not a number takes lo.
int NearestCell(float v, int lo, int hi) {
    const double cell = std::floor(static_cast<double>(v) + 0.5);
    if (!(cell >= lo)) {
        return lo;
    }
    if (cell > hi) {
        return hi;
    }
    return static_cast<int>(cell);
}

// Map row shown by a window row; MapPosition is whole and within -20..280 in
// play, the bounds only guard the table.
int MapRowOf(int windowRow) {
    return NearestCell(static_cast<float>(windowRow) + MapPosition, kMapFirstRow, kMapLastRow);
}

} // namespace

void ResetTerrain() {
    // Each step outwards rises by (2^j / j) / 60 x 7: a channel deepest in
    // the middle whose sides steepen toward the edges.
    for (int r = 1; r <= kWindowLastRow; ++r) {
        TerrainDepth[r][0] = 7;
        for (int j = 1; j <= 6; ++j) {
            const float step = static_cast<float>(std::pow(2.0, j) / j / 60.0 * 7.0);
            TerrainDepth[r][-j] = TerrainDepth[r][-(j - 1)] - step;
            TerrainDepth[r][j] = TerrainDepth[r][j - 1] - step;
        }
    }
}

float DepthAt(int row, int column) {
    if (row < kWindowFirstRow) {
        row = kWindowFirstRow;
    } else if (row > kWindowLastRow) {
        row = kWindowLastRow;
    }
    if (column < kLeftColumn) {
        column = kLeftColumn;
    } else if (column > kRightColumn) {
        column = kRightColumn;
    }
    return TerrainDepth[row][column];
}

float GroundAt(float z, float x) {
    return TerrainDepth[NearestCell(z, kWindowFirstRow, kWindowLastRow)]
                       [NearestCell(x, kLeftColumn, kRightColumn)];
}

void AdvanceTerrain() {
    ScrollOffset -= 0.2f * SpeedFactor;
    TravelSinceCheck += 0.2f * SpeedFactor;
    // At the end of the level the window rests while the travel counts on.
    if (MapPosition == kMapEnd) {
        ScrollOffset = 0;
    }
}

void ShiftTerrain() {
    if (!(ScrollOffset <= -2)) {
        return;
    }
    MapPosition += 2;
    if (MapPosition == kEndWarningAt && EndWarningPlayed == 0) {
        EndWarningPlayed = 1;
        PlayEffect(SfxEndWarning);
    }
    if (MapPosition > kMapEnd) {
        MapPosition = kMapEnd;
    }
    ScrollOffset = 0;
    // Craters and every other change of the ground move on with it.
    for (int r = 1; r <= kWindowLastRow - 2; ++r) {
        TerrainDepth[r] = TerrainDepth[r + 2];
    }
    if (GeneratedTerrain != 0) {
        FeedRandomRows();
    } else {
        FeedRowsFromMap();
    }
    SpawnEnemies();
}

void FeedRowsFromMap() {
    const int row19 = MapRowOf(19);
    const int row20 = MapRowOf(20);
    for (int c = kLeftColumn; c <= kRightColumn; ++c) {
        TerrainDepth[19][c] = LevelMap[c + 8][row19];
        TerrainDepth[20][c] = LevelMap[c + 8][row20];
    }
}

void FeedRandomRows() {
    TerrainRow &far = TerrainDepth[20];
    TerrainRow &near = TerrainDepth[19];
    for (int c = -5; c <= 5; ++c) {
        float d = far[c] + static_cast<float>(2 * RandomUnit() - 1);
        if (c > -5) {
            // Soften steps of more than half a unit against the left neighbour.
            const float left = far[c - 1];
            if (d < left && std::fabs(left - d) > 0.5f) {
                d += 0.6f;
            }
            if (left < d && std::fabs(left - d) > 0.5f) {
                d -= 0.6f;
            }
        }
        d = std::fmin(std::fmax(d, 1.0f), 7.0f);
        far[c] = d;
        near[c] = d + static_cast<float>(RandomUnit() / 2 - 0.25);
    }
    far[-6] = 0.7f * far[-5];
    far[6] = 0.7f * far[5];
    near[-6] = 0.7f * near[-5];
    near[6] = 0.7f * near[5];
}

void DigCrater(int row, int column) {
    // 0.75 in the centre, 0.375 on each edge, 0.1875 on each corner: 3.0.
    for (int dr = -1; dr <= 1; ++dr) {
        for (int dc = -1; dc <= 1; ++dc) {
            const int r = row + dr;
            const int c = column + dc;
            if (r < 1 || r > kWindowLastRow || c < kLeftColumn || c > kRightColumn) {
                continue; // row 0 stays untouched, and nothing outside the window
            }
            const int away = (dr != 0) + (dc != 0);
            TerrainDepth[r][c] += away == 0 ? 0.75f : (away == 1 ? 0.375f : 0.1875f);
        }
    }
}

} // namespace halvane
