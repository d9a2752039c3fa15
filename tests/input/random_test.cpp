#include <array>
#include <cmath>
#include <limits>
#include <set>

#include <gtest/gtest.h>

#include "platform/headless.h"
#include "platform/random.h"

namespace halvane {
namespace {

std::array<double, 64> Draw64() {
    std::array<double, 64> values{};
    for (double &v : values)
        v = RandomUnit();
    return values;
}

TEST(Random, UnitValuesAreWholeStepsOfOneIn32768BelowOne) {
    SeedRandom(12345);
    std::set<int> seen;
    for (int i = 0; i < 200000; ++i) {
        double v = RandomUnit();
        ASSERT_GE(v, 0.0);
        ASSERT_LT(v, 1.0);
        double steps = v * 32768.0;
        ASSERT_EQ(steps, std::floor(steps));
        seen.insert(static_cast<int>(steps));
    }
    // Spread over the whole range, not stuck in a short cycle.
    EXPECT_GT(seen.size(), 32000u);
    EXPECT_EQ(*seen.rbegin(), 32767);
}

TEST(Random, TheSameSeedRepeatsTheSameValues) {
    SeedRandom(77);
    auto first = Draw64();
    SeedRandom(78);
    auto other = Draw64();
    SeedRandom(77.9); // truncated towards zero
    auto again = Draw64();
    EXPECT_EQ(first, again);
    EXPECT_NE(first, other);

    SeedRandom(-3.7);
    auto negative = Draw64();
    SeedRandom(-3);
    EXPECT_EQ(negative, Draw64());
}

TEST(Random, MinusOneSeedsFromTheClock) {
    HeadlessSetClock(1234.75);
    SeedRandom(-1);
    auto fromClock = Draw64();
    SeedRandom(1234);
    EXPECT_EQ(fromClock, Draw64());
}

TEST(Random, WildSeedsSaturateInsteadOfMisbehaving) {
    SeedRandom(1e300);
    auto huge = Draw64();
    SeedRandom(2147483647.0);
    EXPECT_EQ(huge, Draw64());

    SeedRandom(-std::numeric_limits<double>::infinity());
    auto negative = Draw64();
    SeedRandom(-2147483648.0);
    EXPECT_EQ(negative, Draw64());

    SeedRandom(std::nan(""));
    for (double v : Draw64()) {
        EXPECT_GE(v, 0.0);
        EXPECT_LT(v, 1.0);
    }
}

} // namespace
} // namespace halvane
