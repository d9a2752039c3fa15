// level.h -- the level files and the progression from level to level: the
// loader, the per-level reset, the end-structure test and the fly-out. The
// main menu, the game loop and the level-statistics screen call these.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace halvane {

constexpr int kLevelCount = 5;
constexpr int kLevelRows = 300;
constexpr int kLevelFieldCount = 9000;      // 300 rows of 30 numbers
constexpr float kLevelValueLimit = 1000;    // loaded values are kept within +-this
constexpr float kStructureFallsAbove = 650; // sum of the 121 end cells
constexpr int kStructureFirstRow = 10;      // window rows 10..20, columns -5..5
constexpr int kStructureLastRow = 20;
constexpr int kStructureColumns = 5;

// Colours of the terrain colour codes 0..5 (0xRRGGBB).
constexpr std::array<uint32_t, 6> kTerrainColours = {0xFF0000, 0xCD8837, 0x0000FF,
                                                     0x00C000, 0x646464, 0xFF40FF};

// 1 when a level file is missing or short: the window is then fed by
// FeedRandomRows. Set by CheckLevelFiles.
extern int32_t RandomTerrain;

// "Data/level<N>.dat" into `out` (NUL-terminated).
void LevelFileName(int level, std::span<char> out);

// Reads a level file through file number 1 into LevelMap rows 1..300; values
// that are not finite become 0, others are clamped to +-kLevelValueLimit.
void LoadLevelFile(const char *fileName);

// True when the file holds at least 9000 fields, each with a numeric prefix.
bool LevelFileComplete(const char *fileName);

// Launch sequence, before the first level: checks the five level files and
// sets RandomTerrain when any is missing or short.
void CheckLevelFiles();

// Next level: level number, backdrop, briefing (or the end-of-game screen
// after the fifth) and the level file. Called at launch and after a fly-out.
void LoadNextLevel();

// The per-level reset, in the two halves the level-statistics screen runs
// around its display: objects and terrain first, then the craft's place.
void ResetWorldForLevel();
void ResetCraftForLevel();
void ResetForLevel(); // both halves

// Sum of TerrainDepth over rows 10..20, columns -5..5 (the end structure).
float StructureSum();

// Part of the frame: at the end of the level, every 10 frames, may launch a
// ship and tests whether the structure has been dug away.
void CheckEndStructure();

// Part of the frame while EndPhase > 0: the fly-out, the collapse and the
// hand-over to the statistics and the next level.
void RunEndPhase();

} // namespace halvane
