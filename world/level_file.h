// level_file.h -- the five level files: their names, the loader into the
// level map, and the check made before a game that falls back to generated
// terrain for a level whose file is missing, short or corrupt. The level
// progression and the launch sequence call these.
#pragma once

#include <cstdint>
#include <span>

#include "core/offset_array.h"

namespace halvane {

constexpr int kLevelCount = 5;
constexpr int kLevelRows = 300;
constexpr int kLevelFieldsPerRow = 30;   // 15 depths, then 15 colour codes
constexpr int kLevelFieldCount = 9000;   // 300 rows of 30 numbers
constexpr float kLevelValueLimit = 1000; // loaded values are kept within +-this
constexpr int kLevelFileNumber = 1;

// 1 when any level file was found missing, short or corrupt by the last
// CheckLevelFiles: those levels are played over generated terrain.
extern int32_t RandomTerrain;
// Per level: 1 when its file failed the check.
extern OffsetArray<int32_t, 1, kLevelCount> LevelFileBroken;

// "Data/level<N>.dat" into `out` (NUL-terminated, truncated to fit).
void LevelFileName(int level, std::span<char> out);

// Reads a level file through file number 1 into LevelMap rows 1..300: for
// each row, fields 1..30. Values that are not finite become 0, others are
// kept within +-kLevelValueLimit. A missing or short file reads as zeros.
void LoadLevelFile(const char *fileName);

// True when the first 9000 fields of the file each hold a number (a numeric
// prefix): false for a missing file, one that ends early, or junk.
bool LevelFileComplete(const char *fileName);

// Launch sequence, before the first level: checks the five files and sets
// LevelFileBroken and RandomTerrain. The launch sequence then shows the
// level-files message when RandomTerrain is 1.
void CheckLevelFiles();

} // namespace halvane
