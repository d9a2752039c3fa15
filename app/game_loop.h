// game_loop.h -- one game from the first frame of level 1 to its end: the
// frame and its order of steps, the frame-rate read-out, screenshots, the
// Esc prompt, the closing fade and the way back to the menu. Called by the
// main menu's launch.
#pragma once

#include <cstdint>

namespace halvane {

constexpr int kFadeStep = 15;
constexpr int kPauseDimAlpha = 150; // the paused frame is dimmed down to 135
constexpr int kPromptX = 280;
constexpr int kPromptY = 225;
constexpr const char *kPromptText = "Abort(Y/N)?";

// Clock in whole seconds at the last update of MeasuredFps; 0 before the
// first. Owned here.
extern int32_t FpsSecondMark;

// Plays one game until the last life is lost, the player aborts with Esc and
// Y, or the fifth level is completed; then the best-score check (not after an
// abort) and the menu picture faded in. Called by the launch sequence only.
void RunGame();

} // namespace halvane
