// pace_probe -- runs the game's frame pacing (WaitFrame at 45 frames per
// second) for a number of seconds on the real clock and reports the frames
// and their timing. Usage: pace_probe [seconds] [fps]
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/game_state.h"
#include "platform/timing.h"

int main(int argc, char **argv) {
    using namespace halvane;
    double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    int fps = argc > 2 ? std::atoi(argv[2]) : 45;
    if (!(seconds > 0.0) || fps <= 0) {
        std::fprintf(stderr, "usage: pace_probe [seconds > 0] [fps > 0]\n");
        return 2;
    }

    TargetFps = fps;
    LastFrameTime = ClockSeconds();
    double start = LastFrameTime;
    double shortest = 1e9;
    double longest = 0.0;
    long frames = 0;
    while (LastFrameTime - start < seconds) {
        double previous = LastFrameTime;
        WaitFrame();
        double period = LastFrameTime - previous;
        shortest = std::min(shortest, period);
        longest = std::max(longest, period);
        ++frames;
    }
    double elapsed = LastFrameTime - start;
    std::printf("frames %ld in %.3f s: %.2f per second (target %d)\n", frames, elapsed,
                frames / elapsed, fps);
    std::printf("frame period: shortest %.3f ms, longest %.3f ms, target %.3f ms\n",
                shortest * 1000.0, longest * 1000.0, 1000.0 / fps);
    return shortest * fps >= 1.0 ? 0 : 1;
}
