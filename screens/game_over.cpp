// Does only the world's share (none) until the screen exists.
#include "screens/game_over.h"

namespace halvane {

void ShowGameOver() {}

} // namespace halvane
