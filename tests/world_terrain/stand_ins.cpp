// Stand-ins for the screens the world hands over to: they do the world's
// share and count their calls, so the tests can follow the progression.
#include "tests/world_terrain/stand_ins.h"

#include "core/game_state.h"
#include "screens/briefing.h"
#include "screens/end_game.h"
#include "screens/game_over.h"
#include "screens/level_stats.h"
#include "world/level.h"

namespace halvane {

int BriefingsShown = 0;
int EndGamesShown = 0;
int LevelStatsShown = 0;

void ShowBriefing() {
    ++BriefingsShown;
}
void ShowEndGame() {
    ++EndGamesShown;
    GameCompleted = 1;
}
void ShowLevelStats() {
    ++LevelStatsShown;
    ResetForLevel();
}
void ShowGameOver() {}

} // namespace halvane
