#include "core/numbers.h"

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace halvane {
namespace {

std::string Text(float v) {
    std::array<char, 32> buf{};
    NumberToText(v, buf);
    return buf.data();
}

TEST(Rounding, HalvesAwayFromZeroForCoordinates) {
    EXPECT_EQ(RoundHalfAway(2.5), 3);
    EXPECT_EQ(RoundHalfAway(-2.5), -3);
    EXPECT_EQ(RoundHalfAway(1.49), 1);
    EXPECT_EQ(RoundHalfAway(10.49), 10);
    EXPECT_EQ(RoundHalfAway(-0.5), -1);
    EXPECT_EQ(RoundHalfAway(-0.0), 0);
}

TEST(Rounding, TiesToEvenElsewhere) {
    EXPECT_EQ(RoundEven(0.5), 0);
    EXPECT_EQ(RoundEven(0.6), 1);
    EXPECT_EQ(RoundEven(1.5), 2);
    EXPECT_EQ(RoundEven(12.5), 12);
    EXPECT_EQ(RoundEven(-2.5), -2);
}

TEST(Rounding, WildValuesSaturateInsteadOfOverflowing) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(RoundEven(1e300), INT32_MAX);
    EXPECT_EQ(RoundEven(-1e300), INT32_MIN);
    EXPECT_EQ(RoundHalfAway(inf), INT32_MAX);
    EXPECT_EQ(RoundHalfAway(-inf), INT32_MIN);
    EXPECT_EQ(RoundEven(std::nan("")), 0);
    EXPECT_EQ(RoundHalfAway(std::nan("")), 0);
    EXPECT_EQ(TruncateToInt(3e9), INT32_MAX);
    EXPECT_EQ(TruncateToInt(-3.7), -3);
}

TEST(NumberToText, WholeNumbersArePlainDigits) {
    EXPECT_EQ(Text(150), "150");
    EXPECT_EQ(Text(0), "0");
    EXPECT_EQ(Text(-0.0f), "0");
    EXPECT_EQ(Text(-42), "-42");
    EXPECT_EQ(Text(9999999), "9999999");
    EXPECT_EQ(Text(-9999999), "-9999999");
}

TEST(NumberToText, OtherValuesKeepSevenDigitsAndFitTheBuffer) {
    EXPECT_EQ(Text(0.5f), "0.5");
    std::array<char, 4> tiny{};
    EXPECT_EQ(NumberToText(123456, tiny), 3);
    EXPECT_EQ(std::string(tiny.data()), "123");
    EXPECT_EQ(Text(std::numeric_limits<float>::infinity()), "inf");
}

} // namespace
} // namespace halvane
