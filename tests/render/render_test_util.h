// Helpers of the render tests: a cleared 32-bit page, flat ground, the models.
#pragma once

#include <cstdint>

#include "platform/screen.h"
#include "render/models.h"
#include "world/terrain.h"

namespace halvane {

inline void OpenBlankPage() {
    OpenOffscreenPages(32);
    SetPages(1, 0);
    ClearWorkPage();
}

inline uint32_t PixelAt(int x, int y) {
    return static_cast<uint32_t>(ReadPixel(x, y));
}

// Depth 100 puts the whole grid below the screen.
inline void FlattenGround(float depth, float colourCode) {
    for (int r = 1; r <= kWindowLastRow; ++r)
        for (int c = kLeftColumn; c <= kRightColumn; ++c)
            TerrainDepth[r][c] = depth;
    for (int row = kMapFirstRow; row <= kMapLastRow; ++row)
        for (int c = kLeftColumn; c <= kRightColumn; ++c)
            LevelMap[c + 23][row] = colourCode;
}

inline void BuildModels(float scale) {
    CraftModelScale = scale;
    FillAngleTables();
    BuildCraftModels();
    BuildMineModel();
    BuildMissileModel();
}

inline int LitPixels() {
    int lit = 0;
    for (int y = 20; y < 480; ++y) // below the head-up display
        for (int x = 0; x < 640; ++x)
            lit += PixelAt(x, y) != 0;
    return lit;
}

} // namespace halvane
