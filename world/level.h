// level.h -- the progression from level to level: the next level, the
// per-level reset of the world, the end-structure test and the fly-out. The
// main menu, the game loop and the level-statistics screen call these.
#pragma once

#include <cstdint>

#include "world/level_file.h"

namespace halvane {

// The end structure: window rows 10..20, columns -5..5 (map rows 290..300
// once the window rests at the level's end). It falls when the sum of its
// 121 depths exceeds this.
constexpr float kStructureFallsAbove = 650;
constexpr int kStructureFirstRow = 10;
constexpr int kStructureLastRow = 20;
constexpr int kStructureSide = 5;
constexpr float kEndCheckEvery = 2; // travel between two checks (10 frames)
constexpr float kFlyOutStep = 0.1f; // CraftZ per frame of the fly-out
constexpr float kFlyOutPoints = 5;  // score per frame of the fly-out
constexpr float kFlyOutEnds = 10;   // the level is complete when CraftZ passes this
// The collapse of the fly-out: additions per frame to cells shallower than 7
// in window rows 10..19.
constexpr int kCollapseSteps = 10;
constexpr float kCollapseStepDepth = 0.1f;
constexpr float kCollapseFloor = 7;

// Colours of the terrain colour codes 0..5 (0xRRGGBB).
constexpr uint32_t kTerrainColours[6] = {0xFF0000, 0xCD8837, 0x0000FF,
                                         0x00C000, 0x646464, 0xFF40FF};

// Launch sequence and fly-out: level number, backdrop, the briefing (or the
// end-of-game screen after the fifth level) and the level file.
void LoadNextLevel();

// The per-level reset, in the two halves the level-statistics screen runs
// around its display: every object slot and the terrain first, then the
// craft's place, the missed counts and the map position.
void ResetWorldForLevel();
void ResetCraftForLevel();
void ResetForLevel(); // both halves

// Sum of TerrainDepth over the end structure's 121 cells.
float StructureSum();

// Game loop, every frame: at the level's end, every 10 frames, may launch a
// ship and tests whether the structure has been dug away (EndPhase = 1).
void CheckEndStructure();

// Game loop, while EndPhase > 0: the craft flies out, ships are destroyed,
// the structure collapses; past CraftZ 10 the frame is grabbed, the
// statistics shown and the next level loaded.
void RunEndPhase();

} // namespace halvane
