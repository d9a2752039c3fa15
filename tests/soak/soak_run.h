// soak_run.h -- long play: the whole program under the headless display, the
// automatic pilot playing game after game through the input source alone
// (winning some games and diving into the ground in others), and the world
// checked after every presented frame.
#pragma once

#include <string>

namespace halvane {

struct SoakResult {
    int exitCode = -1;
    long playFrames = 0; // frames of play (the animation cycle moved)
    long presents = 0;   // every page shown, screens included
    int gamesStarted = 0;
    int gamesWon = 0;        // the fifth level completed
    int gamesLost = 0;       // the last life lost
    int levelsCompleted = 0; // fly-outs that led to the next level
    int deepestLevel = 0;
    bool bestScoreKept = false; // the file holds the best score at the end
    std::string failure;        // the first broken invariant, empty when none
};

// Plays `playFrames` frames of play from the program's start in a fresh
// scratch folder holding copies of the project's Data/ files and its
// Graphics/ folder (`sourceDir` is the project root), the clock and random
// generator started from `seed`. Ends the program itself when done, or, when
// `endAtPresent` is above 0, at that presented page, as a closed window or an
// end signal would.
SoakResult RunSoak(const std::string &sourceDir, long playFrames, double seed,
                   long endAtPresent = 0);

} // namespace halvane
