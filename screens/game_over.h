// game_over.h -- the game-over sequence. LoseLife calls it when the last life
// is lost.
#pragma once

namespace halvane {

// Shows the game-over sequence.
void ShowGameOver();

} // namespace halvane
