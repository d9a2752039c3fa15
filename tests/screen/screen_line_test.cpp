// Lines, boxes and arcs: exact pixels, clipping and wild numbers.
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "core/numbers.h"
#include "tests/screen/screen_test_util.h"

namespace halvane {
namespace {

constexpr double kPi = std::numbers::pi;

PixelSet Pixels(int x1, int y1, int x2, int y2) { // a row or a 45-degree diagonal
    PixelSet run;
    for (int i = 0; i <= std::max(x2 - x1, y2 - y1); ++i)
        run.insert({x1 + (x2 > x1 ? i : 0), y1 + (y2 > y1 ? i : 0)});
    return run;
}

using ScreenLine = ScreenAtDepth;

TEST_P(ScreenLine, EndsRoundHalvesAwayAndLinesClipToTheScreen) {
    DrawLine(-50, 100, 700, 100, 0x00FF00);
    DrawLine(10.5f, 5, 20, 5, 0x00FF00);
    DrawLine(10.49f, 6, 20, 6, 0x00FF00);
    DrawLine(-0.5f, 7, -0.5f, 9, 0x00FF00);
    DrawLine(-0.49f, 10, -0.49f, 10, 0x00FF00);
    PixelSet expected = Pixels(0, 100, 639, 100);
    expected.merge(Pixels(11, 5, 20, 5));
    expected.merge(Pixels(10, 6, 20, 6));
    expected.insert({0, 10});
    EXPECT_EQ(LitPixels(), expected);
    EXPECT_EQ(RawPixel(639, 100), NativeColour(0x00FF00));
    ClearWorkPage(); // a clipped end moves to the crossing, truncated: x = 0 at y = 1.5
    DrawLine(-10, 0, 10, 3, 0xFF);
    EXPECT_NE(RawPixel(0, 1), 0u);
    EXPECT_EQ(RawPixel(0, 2), 0u);
    ClearWorkPage();
    DrawLine(-1e9f, -1e9f, 1e9f, 1e9f, 0xFF);
    EXPECT_EQ(LitPixels(), Pixels(0, 0, 479, 479));
    ClearWorkPage(); // past a corner, though the ends lie off different sides
    DrawLine(-10, 5, 5, -10, 0xFF);
    DrawLine(630, 490, 660, 470, 0xFF);
    DrawLine(NAN, 0, 10, 10, 0xFF);
    DrawLine(0, 0, INFINITY, 10, 0xFF);
    DrawLine(-3e38f, 3e38f, -3e38f, -3e38f, 0xFF);
    EXPECT_EQ(LitPixels().size(), 0u);
}

TEST_P(ScreenLine, OnePixelPerMajorStepNearTheTrueLineEitherWay) {
    const int segments[][4] = {{5, 5, 5, 5},      {9, 0, 0, 9},        {3, 2, 40, 13},
                               {100, 7, 89, 200}, {300, 400, 10, 390}, {0, 479, 639, 0}};
    for (const auto &s : segments) {
        ClearWorkPage();
        DrawLine(s[0], s[1], s[2], s[3], 0xFFFFFF);
        const PixelSet forward = LitPixels();
        ClearWorkPage();
        DrawLine(s[2], s[3], s[0], s[1], 0xFFFFFF);
        EXPECT_EQ(LitPixels(), forward) << s[0] << "," << s[1] << " " << s[2] << "," << s[3];
        const int dx = s[2] - s[0], dy = s[3] - s[1];
        EXPECT_EQ(forward.size(), std::size_t(std::max(std::abs(dx), std::abs(dy))) + 1);
        EXPECT_TRUE(forward.count({s[0], s[1]}) && forward.count({s[2], s[3]}));
        for (const auto &[x, y] : forward) {
            const double off = std::abs(dx) >= std::abs(dy)
                                   ? y - (s[1] + double(dy) * (x - s[0]) / (dx == 0 ? 1 : dx))
                                   : x - (s[0] + double(dx) * (y - s[1]) / dy);
            EXPECT_LE(std::abs(off), 0.5) << x << "," << y;
        }
    }
}

TEST_P(ScreenLine, BoxIncludesBothCornersInAnyOrderAndClips) {
    FillBox(12.5f, 9, 10, 7.5f, 0x0000FF);
    PixelSet box = Pixels(10, 8, 13, 8);
    box.merge(Pixels(10, 9, 13, 9));
    EXPECT_EQ(LitPixels(), box);
    EXPECT_EQ(RawPixel(13, 9), NativeColour(0x0000FF));
    ClearWorkPage();
    FillBox(630, 470, 700, 900, 0xFF);
    FillBox(640, 0, 700, 479, 0xFF);
    FillBox(0, 0, NAN, 10, 0xFF);
    FillBox(-INFINITY, 0, 10, 10, 0xFF);
    EXPECT_EQ(LitPixels().size(), 10u * 10);
    FillBox(-1e30f, 1e30f, 1e30f, -1e30f, 0xFF);
    EXPECT_EQ(LitPixels().size(), 640u * 480);
}

TEST_P(ScreenLine, FullCircleStaysOnItsRadiusWithoutGaps) {
    DrawArc(320, 240, 50, 0xFFFF00, 0, float(2 * kPi));
    const PixelSet lit = LitPixels();
    for (const auto &[x, y] : lit)
        EXPECT_NEAR(std::hypot(x - 320.0, y - 240.0), 50, 1.0);
    for (int degree = 0; degree < 360; ++degree) { // every point has a lit neighbour
        const int x = RoundHalfAway(320 + 50 * std::cos(degree * kPi / 180));
        const int y = RoundHalfAway(240 - 50 * std::sin(degree * kPi / 180));
        int near = 0;
        for (int d = 0; d < 9; ++d)
            near += int(lit.count({x + d % 3 - 1, y + d / 3 - 1}));
        EXPECT_GT(near, 0) << "degree " << degree;
    }
    EXPECT_EQ(RawPixel(320, 190), NativeColour(0xFFFF00)); // a quarter turn is straight up
}

TEST_P(ScreenLine, NegativeAnglesDrawRadiusLinesAndEndsWrapPastStarts) {
    DrawArc(320, 240, 50, 0xFF, -1, -1.1f);
    const PixelSet wedge = LitPixels();
    ClearWorkPage();
    DrawLine(320, 240, 320 + 50 * std::cos(1.1f), 240 - 50 * std::sin(1.1f), 0xFF);
    for (const auto &p : LitPixels())
        EXPECT_TRUE(wedge.count(p)); // the radius line to the end is drawn
    ClearWorkPage(); // minus zero is not negative; the arc wraps from down-right through 0 to up
    DrawArc(320, 240, 50, 0xFF, -0.0f, 1);
    DrawArc(320, 240, 50, 0xFF, float(1.75 * kPi), float(0.5 * kPi));
    EXPECT_EQ(RawPixel(320, 240), 0u);
    EXPECT_NE(RawPixel(320, 190), 0u);
    EXPECT_EQ(RawPixel(320, 290), 0u);
    EXPECT_EQ(RawPixel(270, 240), 0u);
}

TEST_P(ScreenLine, ArcsWithWildNumbersDrawOnlyWhatTheyShould) {
    for (float r : {0.0f, -5.0f, NAN, INFINITY, 10001.0f})
        DrawArc(320, 240, r, 0xFF, 0, 7);
    DrawArc(NAN, 240, 5, 0xFF, 0, 7);
    DrawArc(320, 240, 5, 0xFF, NAN, 7);
    DrawArc(320, 240, 5, 0xFF, 0, -INFINITY);
    EXPECT_EQ(LitPixels().size(), 0u);
    DrawArc(-9990, 240, 10000, 0xFF, 0, 1); // the largest radius still draws
    EXPECT_NE(RawPixel(10, 240), 0u);
    ClearWorkPage(); // millions of turns and angles beyond float precision end
    DrawArc(320, 240, 40, 0xFF, 0, 1e7f);
    DrawArc(320, 240, 40, 0xFF, 1e30f, 0);
    for (const auto &[x, y] : LitPixels())
        EXPECT_NEAR(std::hypot(x - 320.0, y - 240.0), 40, 1.0);
    EXPECT_GT(LitPixels().size(), 200u);
}

INSTANTIATE_TEST_SUITE_P(Depths, ScreenLine, ::testing::Values(16, 32));

} // namespace
} // namespace halvane
