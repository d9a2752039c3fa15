// level_stats.h -- the statistics screen between levels. The world's fly-out
// and the launch sequence call it; it runs the per-level reset of the world.
#pragma once

namespace halvane {

// Shows the level's statistics (nothing while Lives is -1) around the two
// halves of the per-level reset (ResetWorldForLevel, ResetCraftForLevel).
void ShowLevelStats();

} // namespace halvane
