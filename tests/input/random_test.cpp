#include <array>
#include <cmath>
#include <limits>
#include <set>

#include <gtest/gtest.h>

#include "platform/headless.h"
#include "platform/random.h"

namespace halvane {
namespace {

std::array<double, 64> DrawAfter(double seed) {
    SeedRandom(seed);
    std::array<double, 64> values{};
    for (double &v : values)
        v = RandomUnit();
    return values;
}

TEST(Random, UnitValuesAreWholeStepsOfOneIn32768BelowOne) {
    SeedRandom(12345);
    std::set<int> seen;
    for (int i = 0; i < 200000; ++i) {
        const double steps = RandomUnit() * 32768.0;
        ASSERT_EQ(steps, std::floor(steps));
        ASSERT_TRUE(steps >= 0 && steps < 32768) << steps;
        seen.insert(int(steps));
    }
    EXPECT_GT(seen.size(), 32000u); // spread over the range, not a short cycle
    for (double v : DrawAfter(std::nan("")))
        EXPECT_TRUE(v >= 0.0 && v < 1.0);
}

TEST(Random, SeedsTruncateSaturateAndMinusOneTakesTheClock) {
    EXPECT_NE(DrawAfter(77), DrawAfter(78));
    HeadlessSetClock(1234.75);
    const std::pair<double, double> sameAs[] = {
        {77.9, 77},
        {-3.7, -3},
        {1e300, 2147483647.0},
        {-std::numeric_limits<double>::infinity(), -2147483648.0},
        {-1, 1234}};
    for (const auto &[seed, equal] : sameAs)
        EXPECT_EQ(DrawAfter(seed), DrawAfter(equal)) << seed;
}

} // namespace
} // namespace halvane
