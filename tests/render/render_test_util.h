// Pages in memory for the render tests: a cleared 32-bit work page and the
// ground set to the flat floor of depth 7.
#pragma once

#include <cstdint>

#include "platform/screen.h"
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

inline void FlattenGround(float depth) {
    for (int r = 1; r <= kWindowLastRow; ++r) {
        for (int c = kLeftColumn; c <= kRightColumn; ++c)
            TerrainDepth[r][c] = depth;
    }
}

} // namespace halvane
