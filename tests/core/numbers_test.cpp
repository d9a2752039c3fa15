#include "core/numbers.h"

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace halvane {
namespace {

TEST(Rounding, HalvesAwayForCoordinatesToEvenElsewhereAndWildValuesSaturate) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const double v[] = {2.5, -2.5, 1.49, 10.49, -0.5, -0.0, 0.6, 1.5, 12.5, 1e300, -inf, nan};
    const int32_t away[] = {3, -3, 1, 10, -1, 0, 1, 2, 13, INT32_MAX, INT32_MIN, 0};
    const int32_t even[] = {2, -2, 1, 10, 0, 0, 1, 2, 12, INT32_MAX, INT32_MIN, 0};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(std::pair(RoundHalfAway(v[i]), RoundEven(v[i])), std::pair(away[i], even[i]))
            << v[i];
    EXPECT_EQ(std::pair(TruncateToInt(3e9), TruncateToInt(-3.7)), std::pair(INT32_MAX, -3));
}

TEST(NumberToText, WholeNumbersArePlainDigitsOthersKeepSevenAndFitTheBuffer) {
    const float v[] = {150, -0.0f, -42, 9999999, -9999999, 0.5f, INFINITY};
    const char *text[] = {"150", "0", "-42", "9999999", "-9999999", "0.5", "inf"};
    for (int i = 0; i < 7; ++i) {
        std::array<char, 32> buf{};
        NumberToText(v[i], buf);
        EXPECT_EQ(std::string(buf.data()), text[i]);
    }
    std::array<char, 4> tiny{};
    EXPECT_EQ(NumberToText(123456, tiny), 3);
    EXPECT_EQ(std::string(tiny.data()), "123");
}

} // namespace
} // namespace halvane
