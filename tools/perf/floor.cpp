// halvane_floor -- the cheapest program that shows a page the way the game
// does: the game's own screen, SDL window and WaitFrame, one static picture,
// shown at a given rate until the window is closed or the program is
// signalled. Its CPU share is the floor the game's own is measured against.
// With "still", it shows one unchanging page at the menu's pace, and its
// share is the floor of idling.
// Usage: halvane_floor <frames per second> [still] (HALVANE_FRAME_TIMES as
// the game).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/game_state.h"
#include "platform/display.h"
#include "platform/frame_log.h"
#include "platform/screen.h"
#include "platform/timing.h"

int main(int argc, char **argv) {
    using namespace halvane;
    const int fps = argc > 1 ? std::atoi(argv[1]) : 0;
    const bool still = argc > 2 && std::strcmp(argv[2], "still") == 0;
    if (fps <= 0 || fps > 1000 || (argc > 2 && !still)) {
        std::fprintf(stderr, "usage: halvane_floor <frames per second> [still]\n");
        return 2;
    }
    const char *frameTimes = std::getenv("HALVANE_FRAME_TIMES");
    if (frameTimes != nullptr && frameTimes[0] != '\0') StartFrameLog(frameTimes);
    if (!OpenScreen(32, 0)) return 1;

    // A plain picture on both pages; the one pixel that differs between them
    // makes every frame a new page for the display, as every frame of play is.
    for (int page = 0; page < 2; ++page) {
        SetPages(page, 1 - page);
        ClearWorkPage();
        for (int i = 0; i < 16; ++i)
            FillBox(40.0f * i, 0, 40.0f * i + 39, 479, 0x101010u * static_cast<uint32_t>(i));
        FillBox(0, 0, 0, 0, static_cast<uint32_t>(page));
    }
    SetPages(1, 0);
    WaitRetrace();
    // At rest: the menu's pacing (a wait for the refresh and a short sleep
    // per pass) with nothing drawn.
    while (still) {
        WaitRetrace();
        SleepMs(2);
    }

    TargetFps = fps;
    LastFrameTime = ClockSeconds();
    for (int workPage = 0;; workPage ^= 1) {
        SetPages(workPage, 1 - workPage);
        WaitFrame();
    }
}
