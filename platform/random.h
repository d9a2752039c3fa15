// random.h -- the game's own 15-bit generator, the same on every C library, so
// that a seeded run repeats exactly.
#pragma once

namespace halvane {

// A value in [0, 1) in steps of 1/32768.
double RandomUnit();
// -1 seeds from ClockSeconds; other seeds are truncated towards zero, and one
// value is drawn and discarded.
void SeedRandom(double seed);

} // namespace halvane
