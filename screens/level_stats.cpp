// Does only the world's share (the per-level reset) until the screen exists.
#include "screens/level_stats.h"

#include "world/level.h"

namespace halvane {

void ShowLevelStats() {
    ResetWorldForLevel();
    ResetCraftForLevel();
}

} // namespace halvane
