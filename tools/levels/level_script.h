// level_script.h -- the level tool's description language: a readable text
// per level (a theme of colour codes, then shaping steps over row ranges)
// turned into the 300 rows of 30 numbers of a level file.
//
// Lines (# starts a comment; rows 1..300, columns -7..7):
//   theme FLOOR SLOPE RIM HIGH END    colour codes 0..5 of the level
//   plateau A-B TOP [cols L R] [ease N]  ground raised to depth TOP where deeper
//   dip A-B DEPTH [cols L R] [ease N]    ground at least DEPTH deep
//   wave A-B AMPLITUDE PERIOD [cols L R] [ease N]  the floor rolls
//   pass A-B HALFWIDTH TOP [ease N]      columns beyond +-HALFWIDTH capped at TOP
//   ridge ROW TOP SLOPE [cols L R]       a bank across the channel, capped at
//                                        TOP + SLOPE x rows away from ROW
//   hill ROW COLUMN TOP RADIUS           a cone capped at TOP on its peak
//   paint A-B CODE [cols L R]            colour codes set by hand
// Every row starts as the starting half-pipe (its walls reach the top at
// columns -7 and 7). "ease N" fades a step in and
// out over N rows at each end of its range.
#pragma once

#include <array>
#include <string>

namespace halvane {

constexpr int kToolRows = 300;
constexpr int kToolColumns = 15; // -7..7

struct LevelGrid {
    std::array<std::array<double, kToolColumns>, kToolRows + 1> depth{}; // [row][c + 7]
    std::array<std::array<int, kToolColumns>, kToolRows + 1> colour{};   // [row][c + 7]
};

// Depth of the starting half-pipe at column c (-7..7), to 4 decimals.
double HalfPipeDepth(int column);

// Reads a description; on an error returns false with "line N: why" in error.
bool BuildLevel(const std::string &description, LevelGrid &grid, std::string &error);

// The level file's text: 300 lines of 30 comma-separated numbers.
std::string LevelFileText(const LevelGrid &grid);

// Sum of the end structure (rows 290..300, columns -5..5) and the missile
// hits it needs at 3.0 each to exceed 650.
double StructureSumOf(const LevelGrid &grid);
int HitsNeeded(double structureSum);

} // namespace halvane
