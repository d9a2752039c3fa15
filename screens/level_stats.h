// level_stats.h -- the statistics screen between levels. The fly-out at a
// level's end and the launch of a new game call it; it runs the per-level
// reset of the world around the screen.
#pragma once

namespace halvane {

constexpr int kStatsDimmed = 135; // opacity of the last game frame behind the text
constexpr int kStatsX = 250;
constexpr int kStatsShipsY = 220;
constexpr int kStatsMinesY = 230;
constexpr int kStatsPromptX = 200;
constexpr int kStatsPromptY = 250;
constexpr const char *kConfirmPrompt = "Press ENTER or left mouse button";

// Resets every object slot and the terrain, then, unless Lives is -1 (a new
// game: nothing is shown, played or waited for), dims the frame the game loop
// grabbed into CaptureImage and shows the ships and mines missed in the level
// until Enter, Space or the left button; fades out to FadeAlpha 0; last the
// craft's place, the missed counts and the map position are reset.
void ShowLevelStats();

} // namespace halvane
