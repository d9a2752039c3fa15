// numbers.h -- the float-to-integer conversions every subsystem uses, and
// NumberToText for the HUD, the statistics and the best-score file.
#pragma once

#include <cstdint>
#include <span>

namespace halvane {

// Halves away from zero (2.5 -> 3, -2.5 -> -3): the screen layer's rule for
// coordinates. Saturates at the 32-bit limits; NaN gives 0.
int32_t RoundHalfAway(double v);

// Nearest integer, ties to even (0.5 -> 0, 1.5 -> 2, 12.5 -> 12): the rule for
// every other conversion. Saturates at the 32-bit limits; NaN gives 0.
int32_t RoundEven(double v);

// Truncation towards zero with the same saturation.
int32_t TruncateToInt(double v);

// Decimal text of a single-precision value with at most 7 significant digits.
// Whole numbers from -9,999,999 to 9,999,999 print as their plain digits (150,
// 0, -42). Writes into `out` (NUL-terminated, truncated to fit) and returns
// the length written.
int NumberToText(float value, std::span<char> out);

} // namespace halvane
