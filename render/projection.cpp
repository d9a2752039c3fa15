#include "render/projection.h"

namespace halvane {

ScreenPoint Project(float x, float depth, float z, float distance) {
    const float f = (z + distance) / kFocalScale;
    // Depth is measured from the channel top, which sits 5 units below the eye.
    return {x / f + kHorizonX, (depth + 5.0f) / f + kHorizonY};
}

} // namespace halvane
