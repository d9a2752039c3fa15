// end_game.h -- the end-of-game epilogue. LoadNextLevel calls it after the
// fifth level.
#pragma once

namespace halvane {

// Shows the epilogue and sets GameCompleted.
void ShowEndGame();

} // namespace halvane
