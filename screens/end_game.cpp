// Does only the world's share (the game is completed) until the screen exists.
#include "screens/end_game.h"

#include "core/game_state.h"

namespace halvane {

void ShowEndGame() {
    GameCompleted = 1;
}

} // namespace halvane
