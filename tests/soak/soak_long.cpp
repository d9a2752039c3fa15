// soak_long -- the long soak, one command: soak_long [frames of play] [seed].
// Plays 200,000 frames by default across as many games as that takes and
// prints the figures; exit 0 when every frame kept the world whole.
#include <cstdio>
#include <cstdlib>

#include "soak_run.h"

int main(int argc, char **argv) {
    const long frames = argc > 1 ? std::atol(argv[1]) : 200000;
    const double seed = argc > 2 ? std::atof(argv[2]) : 7777;
    const halvane::SoakResult r = halvane::RunSoak(HALVANE_SOURCE_DIR, frames, seed);
    std::printf("soak: %ld frames of play, %ld pages shown, %d games started (%d won, %d lost), "
                "%d levels completed, deepest level %d, exit code %d, best score filed: %s\n",
                r.playFrames, r.presents, r.gamesStarted, r.gamesWon, r.gamesLost,
                r.levelsCompleted, r.deepestLevel, r.exitCode, r.bestScoreKept ? "yes" : "NO");
    if (!r.failure.empty()) std::printf("soak: FAULT: %s\n", r.failure.c_str());
    const bool ok = r.failure.empty() && r.exitCode == 0 && r.playFrames == frames &&
                    r.bestScoreKept && r.gamesWon > 0 && r.gamesLost > 0;
    std::printf("soak: %d passed, %d failed\n", ok ? 1 : 0, ok ? 0 : 1);
    return ok ? 0 : 1;
}
