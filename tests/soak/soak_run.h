// soak_run.h -- long headless play by the pilot, the world checked at every poll and page.
#pragma once

#include <string>

namespace halvane {

struct SoakResult {
    int exitCode = -1;
    long playFrames = 0; // frames of play (the animation cycle moved)
    long presents = 0;   // every page shown, screens included
    int gamesStarted = 0, gamesWon = 0, gamesLost = 0;
    int levelsCompleted = 0, deepestLevel = 0; // fly-outs to the next level; the deepest one
    bool bestScoreKept = false;                // the file holds the best score at the end
    std::string failure;                       // the first broken invariant, empty when none
};

// Plays `playFrames` frames from the program's start in a scratch folder with the Data/
// files (no best score) and Graphics/ of `sourceDir`; `seed` starts the clock. Ends the
// program when done or, when `endAtPresent` is above 0, at that page, as a closed window would.
// `recordTo` (an absolute path) records the run there.
SoakResult RunSoak(const std::string &sourceDir, long playFrames, double seed,
                   long endAtPresent = 0, const char *recordTo = nullptr);

} // namespace halvane
