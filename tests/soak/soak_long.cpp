// soak_long [frames of play, 200,000 by default] [seed]: the long soak; exits 0 when every
// frame kept the world whole.
#include <cstdio>
#include <cstdlib>

#include "soak_run.h"

int main(int argc, char **argv) {
    const long frames = argc > 1 ? std::atol(argv[1]) : 200000;
    const halvane::SoakResult r =
        halvane::RunSoak(HALVANE_SOURCE_DIR, frames, argc > 2 ? std::atof(argv[2]) : 7777);
    const bool ok = r.failure.empty() && r.exitCode == 0 && r.playFrames == frames &&
                    r.bestScoreKept && r.gamesWon > 0 && r.gamesLost > 0;
    std::printf("soak: %ld frames of play, %ld pages shown, %d games started (%d won, %d lost), "
                "%d levels completed, deepest level %d, exit code %d, best score filed: %s, "
                "fault: %s\nsoak: %s\n",
                r.playFrames, r.presents, r.gamesStarted, r.gamesWon, r.gamesLost,
                r.levelsCompleted, r.deepestLevel, r.exitCode, r.bestScoreKept ? "yes" : "NO",
                r.failure.empty() ? "none" : r.failure.c_str(), ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}
