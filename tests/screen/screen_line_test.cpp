// Lines, boxes and arcs: exact pixels, clipping and wild numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <set>
#include <utility>

#include "core/numbers.h"
#include "tests/screen/screen_test_util.h"

namespace halvane {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet LitPixels() {
    PixelSet lit;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (RawPixel(x, y) != 0) lit.insert({x, y});
    return lit;
}

PixelSet Row(int y, int x1, int x2) {
    PixelSet row;
    for (int x = x1; x <= x2; ++x)
        row.insert({x, y});
    return row;
}

class ScreenLine : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { OpenOffscreenPages(GetParam()); }
};

TEST_P(ScreenLine, RowBeyondBothEdgesIsClippedToTheScreen) {
    DrawLine(-50, 100, 700, 100, 0x00FF00);
    EXPECT_EQ(LitPixels(), Row(100, 0, 639));
    EXPECT_EQ(RawPixel(0, 100), NativeColour(0x00FF00));
    EXPECT_EQ(RawPixel(639, 100), NativeColour(0x00FF00));
}

TEST_P(ScreenLine, EndsRoundHalvesAwayFromZero) {
    DrawLine(10.5f, 5, 20, 5, 0xFFFFFF);
    DrawLine(10.49f, 6, 20, 6, 0xFFFFFF);
    DrawLine(-0.5f, 7, -0.5f, 9, 0xFFFFFF);
    DrawLine(-0.49f, 10, -0.49f, 10, 0xFFFFFF);
    PixelSet expected = Row(5, 11, 20);
    expected.merge(Row(6, 10, 20));
    expected.insert({0, 10});
    EXPECT_EQ(LitPixels(), expected);
}

TEST_P(ScreenLine, StepsCoverBothEndsOnePixelPerMajorStepEitherWay) {
    // Segments of every octant, including the diagonals and single points.
    const int segments[][4] = {{5, 5, 5, 5},        {0, 0, 9, 9},        {9, 0, 0, 9},
                               {3, 2, 40, 13},      {40, 13, 3, 2},      {100, 7, 89, 200},
                               {300, 400, 10, 390}, {600, 20, 631, 478}, {17, 300, 18, 0},
                               {0, 479, 639, 0}};
    for (const auto &s : segments) {
        ClearWorkPage();
        DrawLine(s[0], s[1], s[2], s[3], 0xFFFFFF);
        const PixelSet forward = LitPixels();
        ClearWorkPage();
        DrawLine(s[2], s[3], s[0], s[1], 0xFFFFFF);
        EXPECT_EQ(LitPixels(), forward) << s[0] << "," << s[1] << " " << s[2] << "," << s[3];

        const int dx = s[2] - s[0], dy = s[3] - s[1];
        const int major = std::max(std::abs(dx), std::abs(dy));
        EXPECT_EQ(forward.size(), std::size_t(major) + 1);
        EXPECT_TRUE(forward.count({s[0], s[1]}));
        EXPECT_TRUE(forward.count({s[2], s[3]}));
        // Every pixel lies within half a pixel of the true line across its
        // major axis.
        for (const auto &[x, y] : forward) {
            if (std::abs(dx) >= std::abs(dy)) {
                const double ideal = s[1] + double(dy) * (x - s[0]) / (dx == 0 ? 1 : dx);
                EXPECT_LE(std::abs(y - ideal), 0.5) << x << "," << y;
            } else {
                const double ideal = s[0] + double(dx) * (y - s[1]) / dy;
                EXPECT_LE(std::abs(x - ideal), 0.5) << x << "," << y;
            }
        }
    }
}

TEST_P(ScreenLine, ClippedEndsMoveToTruncatedCrossings) {
    // Diagonal through the top-left corner.
    DrawLine(-100, -100, 100, 100, 0xFF);
    PixelSet diagonal;
    for (int i = 0; i <= 100; ++i)
        diagonal.insert({i, i});
    EXPECT_EQ(LitPixels(), diagonal);

    // Crossing x = 0 at y = 1.5, truncated to 1; then drawn from (0, 1).
    ClearWorkPage();
    DrawLine(-10, 0, 10, 3, 0xFF);
    EXPECT_NE(RawPixel(0, 1), 0u);
    EXPECT_EQ(RawPixel(0, 2), 0u);
    EXPECT_NE(RawPixel(10, 3), 0u);

    // Wholly off screen past a corner, though the outcodes differ.
    ClearWorkPage();
    DrawLine(-10, 5, 5, -10, 0xFF);
    DrawLine(700, 100, 800, 900, 0xFF);
    DrawLine(630, 490, 660, 470, 0xFF);
    EXPECT_EQ(CountLitPixels(), 0);
}

TEST_P(ScreenLine, WildCoordinatesAreCutAndNonFiniteOnesDrawNothing) {
    DrawLine(-1e30f, 100, 1e30f, 100, 0xFF);
    EXPECT_EQ(LitPixels(), Row(100, 0, 639));

    ClearWorkPage();
    DrawLine(-1e9f, -1e9f, 1e9f, 1e9f, 0xFF);
    PixelSet diagonal;
    for (int i = 0; i < 480; ++i)
        diagonal.insert({i, i});
    EXPECT_EQ(LitPixels(), diagonal);

    ClearWorkPage();
    DrawLine(NAN, 0, 10, 10, 0xFF);
    DrawLine(0, 0, INFINITY, 10, 0xFF);
    DrawLine(-INFINITY, 10, 10, 10, 0xFF);
    DrawLine(-3e38f, 3e38f, -3e38f, -3e38f, 0xFF);
    FillBox(0, 0, NAN, 10, 0xFF);
    FillBox(-INFINITY, 0, 10, 10, 0xFF);
    EXPECT_EQ(CountLitPixels(), 0);

    FillBox(-1e30f, 1e30f, 1e30f, -1e30f, 0xFF);
    EXPECT_EQ(CountLitPixels(), 640 * 480);
}

TEST_P(ScreenLine, BoxIncludesBothCornersInAnyOrderAndClips) {
    FillBox(12.5f, 9, 10, 7.5f, 0x0000FF);
    PixelSet box;
    for (int y = 8; y <= 9; ++y)
        for (int x = 10; x <= 13; ++x)
            box.insert({x, y});
    EXPECT_EQ(LitPixels(), box);
    EXPECT_EQ(RawPixel(13, 9), NativeColour(0x0000FF));

    ClearWorkPage();
    FillBox(630, 470, 700, 900, 0xFF);
    EXPECT_EQ(CountLitPixels(), 10 * 10);
    FillBox(640, 0, 700, 479, 0xFF);
    FillBox(0, -5, 639, -0.51f, 0xFF);
    EXPECT_EQ(CountLitPixels(), 10 * 10);
}

constexpr double kPi = std::numbers::pi;

TEST_P(ScreenLine, FullCircleStaysOnItsRadiusWithoutGaps) {
    const float r = 50;
    DrawArc(320, 240, r, 0xFFFF00, 0, float(2 * kPi));
    const PixelSet lit = LitPixels();
    for (const auto &[x, y] : lit) {
        const double distance = std::hypot(x - 320.0, y - 240.0);
        EXPECT_NEAR(distance, r, 1.0) << x << "," << y;
    }
    // No gaps: every point of the true circle has a lit pixel next to it.
    for (int degree = 0; degree < 360; ++degree) {
        const double t = degree * kPi / 180;
        const int x = RoundHalfAway(320 + r * std::cos(t));
        const int y = RoundHalfAway(240 - r * std::sin(t));
        int near = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                near += int(lit.count({x + dx, y + dy}));
        EXPECT_GT(near, 0) << "degree " << degree;
    }
    // Angles count counter-clockwise with up positive.
    EXPECT_TRUE(lit.count({370, 240}));
    EXPECT_TRUE(lit.count({320, 190}));
    EXPECT_EQ(RawPixel(320, 190), NativeColour(0xFFFF00));
}

TEST_P(ScreenLine, NegativeAnglesDrawRadiusLinesToTheirEnds) {
    DrawArc(320, 240, 50, 0xFF, -1, -1.1f);
    const PixelSet wedge = LitPixels();
    for (float a : {1.0f, 1.1f}) {
        ClearWorkPage();
        DrawLine(320, 240, 320 + 50 * std::cos(a), 240 - 50 * std::sin(a), 0xFF);
        for (const auto &p : LitPixels())
            EXPECT_TRUE(wedge.count(p)) << a;
    }

    // Zero and minus zero are not negative: no line to the centre.
    ClearWorkPage();
    DrawArc(320, 240, 50, 0xFF, -0.0f, 1);
    DrawArc(320, 240, 50, 0xFF, 0, 1);
    EXPECT_EQ(RawPixel(320, 240), 0u);
    EXPECT_NE(RawPixel(370, 240), 0u);
}

TEST_P(ScreenLine, EndBeforeStartWrapsRoundThroughZero) {
    DrawArc(320, 240, 50, 0xFF, float(1.5 * kPi), float(0.5 * kPi));
    EXPECT_NE(RawPixel(370, 240), 0u); // angle 0 lies on the way
    EXPECT_NE(RawPixel(320, 290), 0u); // start, straight down
    EXPECT_NE(RawPixel(320, 190), 0u); // end, straight up
    EXPECT_EQ(RawPixel(270, 240), 0u); // angle pi does not
}

TEST_P(ScreenLine, ArcsWithWildNumbersDrawOnlyWhatTheyShould) {
    DrawArc(320, 240, 0, 0xFF, 0, 7);
    DrawArc(320, 240, -5, 0xFF, 0, 7);
    DrawArc(320, 240, NAN, 0xFF, 0, 7);
    DrawArc(320, 240, INFINITY, 0xFF, 0, 7);
    DrawArc(320, 240, 10001, 0xFF, 0, 7);
    DrawArc(NAN, 240, 5, 0xFF, 0, 7);
    DrawArc(320, 240, 5, 0xFF, NAN, 7);
    DrawArc(320, 240, 5, 0xFF, 0, -INFINITY);
    EXPECT_EQ(CountLitPixels(), 0);

    // The largest radius still draws its part of the circle: centred just
    // off the left edge, its rim runs down the screen near x = 9990 - 10000.
    DrawArc(-9990, 240, 10000, 0xFF, 0, 1);
    EXPECT_NE(RawPixel(10, 240), 0u);

    // Sweeps of a million turns and angles beyond float precision end, and
    // stay on the circle.
    ClearWorkPage();
    DrawArc(320, 240, 40, 0xFF, 0, 1e7f);
    DrawArc(320, 240, 40, 0xFF, 1e30f, 0);
    for (const auto &[x, y] : LitPixels())
        EXPECT_NEAR(std::hypot(x - 320.0, y - 240.0), 40, 1.0) << x << "," << y;
    EXPECT_GT(CountLitPixels(), 200);
}

INSTANTIATE_TEST_SUITE_P(Depths, ScreenLine, ::testing::Values(16, 32));

} // namespace
} // namespace halvane
