// level_run.h -- plays one shipped level headless with the automatic pilot,
// frame by frame in the game loop's order (without drawing), and measures it.
#pragma once

namespace halvane {

struct LevelRunResult {
    bool completed = false; // the structure fell and the craft flew out
    int frames = 0;         // frames from the level's start to its completion
    float shieldLost = 0;   // all shield lost across lives (a lost life: what was left)
    int livesLost = 0;
    int structureHits = 0;    // missile impacts that deepened the end structure
    float structureStart = 0; // the structure's sum when the window came to rest
    int restFrame = 0;        // the frame in which the window came to rest
};

// Plays level `level` (1..5) from Data/level<N>.dat under `controls`
// (OptControls), with the random generator seeded with `seed`. Needs the
// working directory at the project root and offscreen pages open.
LevelRunResult RunLevelWithPilot(int level, int controls, double seed, int frameLimit);

} // namespace halvane
