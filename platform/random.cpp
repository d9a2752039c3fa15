// random.cpp -- the game's own 15-bit linear congruential generator. It is
// the same on every C library, so a run seeded with the same value repeats
// exactly.
#include "platform/random.h"

#include <cstdint>

#include "core/numbers.h"
#include "platform/timing.h"

namespace halvane {

namespace {

// Unsigned arithmetic wraps by definition, so the state never overflows.
uint32_t RandomState = 1;

int32_t NextRandomValue() {
    RandomState = RandomState * 214013u + 2531011u;
    return static_cast<int32_t>((RandomState >> 16) & 0x7FFF);
}

} // namespace

double RandomUnit() {
    return NextRandomValue() / 32768.0;
}

void SeedRandom(double seed) {
    if (seed == -1.0) seed = ClockSeconds();
    // A wild seed (1e300, infinity, NaN) saturates instead of overflowing.
    RandomState = static_cast<uint32_t>(TruncateToInt(seed));
    NextRandomValue();
}

} // namespace halvane
