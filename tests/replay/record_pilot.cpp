// record_pilot -- one game by the automatic pilot under the headless display,
// recorded from start-up to QUIT: won, lost (the pilot dives into the ground)
// or aborted (Esc and Y after 150 frames of play). Run it in a folder with the
// game's Data/ and Graphics/; the recorder prints the run's summary line.
// Usage: record_pilot win|lose|abort FILE
#include <cstdio>
#include <cstring>

#include "app/command_line.h"
#include "app/pilots.h"
#include "app/startup.h"
#include "core/game_state.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/replay.h"

namespace halvane {
namespace {

enum class Ending { Win, Lose, Abort } Mode = Ending::Win;

bool GamePlayed = false;
int LastCycle = -1, PlayFrames = 0;
double AbortAt = -1, InMenuSince = -1;

void GamePilot(double now, InputState &state) {
    const bool newFrame = AnimCycle20 != LastCycle;
    LastCycle = AnimCycle20;
    PlayPilot(now, state);
    if (LevelNumber >= 1) GamePlayed = true;
    // Back in the menu after the game (it sets the level to 0): Up to QUIT, Enter.
    if (GamePlayed && LevelNumber == 0) {
        if (InMenuSince < 0) InMenuSince = now;
        const double t = now - InMenuSince;
        state.keys.fill(false);
        state.keys[kKeyUp] = t > 0.5 && t < 0.7;
        state.keys[kKeyEnter] = t > 1.0;
        return;
    }
    if (Mode == Ending::Lose && !newFrame && LevelNumber >= 1 && LevelNumber < 6) {
        state.mouseY = 479;
        state.keys[kKeyDown] = true;
        state.keys[kKeyUp] = false;
    }
    if (Mode == Ending::Abort) {
        if (newFrame && ++PlayFrames == 150) AbortAt = now;
        if (AbortAt > 0) {
            state.keys[kKeyEsc] = now < AbortAt + 0.1;
            state.keys[kKeyY] = now > AbortAt + 0.3;
        }
    }
}

} // namespace
} // namespace halvane

int main(int argc, char **argv) {
    using namespace halvane;
    if (argc != 3 || (std::strcmp(argv[1], "win") != 0 && std::strcmp(argv[1], "lose") != 0 &&
                      std::strcmp(argv[1], "abort") != 0)) {
        std::fprintf(stderr, "usage: record_pilot win|lose|abort FILE\n");
        return 2;
    }
    Mode = argv[1][0] == 'w' ? Ending::Win : argv[1][0] == 'l' ? Ending::Lose : Ending::Abort;
    HeadlessSetClock(1000);
    ResetPlayPilot();
    UsePilot(GamePilot);
    if (!StartRecording(argv[2], ProgramVersion())) return 1;
    return HeadlessRun(StartUp);
}
