// The screen layer against a stand-in display: pages, lines, boxes, arcs,
// grabs and puts, exact pixels, clipping and wild numbers, at both depths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <set>
#include <tuple>
#include <vector>

#include "core/image.h"
#include "platform/display.h"
#include "platform/screen.h"

namespace halvane {

// The stand-in display: opens or refuses as the test says, remembers the last present.
bool StandInOpens = true, StandInFullScreen = false;
int StandInOpenedBytesPerPixel = 0, StandInPresents = 0;
Page StandInLastPage{nullptr, 0};
uint32_t StandInLastChange = 0;

bool DisplayOpen(int bytesPerPixel, bool fullScreen) {
    StandInOpenedBytesPerPixel = bytesPerPixel;
    StandInFullScreen = fullScreen;
    return StandInOpens;
}

void DisplayPresent(const Page &page, uint32_t changeCount, double) {
    ++StandInPresents;
    StandInLastPage = page;
    StandInLastChange = changeCount;
}

// The rest of the display: the screen layer's recording and replay steps name
// them, and these tests never reach them.
void DisplayPump() {}
double DisplayClock() {
    return 0;
}
void DisplaySleep(double) {}
void EndProgram(int code) {
    throw ProgramEnded{code};
}

namespace {

// The stored value of a work-page pixel, in the page's own layout.
uint32_t RawPixel(int x, int y) {
    uint32_t value = 0;
    const int bpp = ScreenBytesPerPixel();
    std::memcpy(&value, PagePixels(WorkPageIndex()) + (std::size_t{640} * y + x) * bpp, bpp);
    return value;
}

// The screen's pixels for which inside(x, y) holds.
using PixelSet = std::set<std::pair<int, int>>;
template <typename F> PixelSet Where(F inside) {
    PixelSet set;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (inside(x, y)) set.insert({x, y});
    return set;
}
PixelSet LitPixels() {
    return Where([](int x, int y) { return RawPixel(x, y) != 0; });
}
PixelSet Box(int left, int top, int right, int bottom) {
    return Where([=](int x, int y) { return x >= left && x <= right && y >= top && y <= bottom; });
}
// What `draw` lights on a cleared work page.
template <typename F> PixelSet Drawn(F draw) {
    ClearWorkPage();
    draw();
    return LitPixels();
}

// x in red, y in green, a fixed blue: a shifted, mirrored or swapped copy shows.
uint32_t GlyphPixel(int x, int y) {
    return NativeColour((x * 8u) << 16 | (y * 8u) << 8 | 0x48);
}
// A w x h image at the screen's depth whose pixel (x, y) is GlyphPixel(x + shift, y).
std::vector<uint8_t> Glyph(int w, int h, int shift = 0) {
    const int bpp = ScreenBytesPerPixel();
    std::vector<uint8_t> image(4 + std::size_t(w) * h * bpp);
    WriteImageHeader(image, w, h, bpp);
    for (int i = 0; i < w * h; ++i) {
        const uint32_t value = GlyphPixel(i % w + shift, i / w);
        std::memcpy(image.data() + 4 + std::size_t(i) * bpp, &value, bpp);
    }
    return image;
}

TEST(ScreenOpen, DepthPicksTheLayoutAndWithoutADisplayNothingDraws) {
    for (int depth : {15, 16, 24, 32, 0, 8, -1}) {
        OpenOffscreenPages(depth);
        EXPECT_EQ(ScreenBytesPerPixel(), depth == 15 || depth == 16 ? 2 : 4) << depth;
    }
    EXPECT_TRUE(OpenScreen(16, 1));
    EXPECT_EQ(std::pair(StandInOpenedBytesPerPixel, StandInFullScreen), std::pair(2, true));
    SetPages(0, 1); // the visible page is shown with its change count
    WaitRetrace();
    EXPECT_EQ(std::pair(StandInLastPage.pixels, StandInLastChange),
              std::pair((const uint8_t *)PagePixels(1), VisibleChangeCount()));
    StandInOpens = false;
    EXPECT_FALSE(OpenScreen(32, 0));
    FillBox(0, 0, 639, 479, 0xFFFFFF);
    DrawLine(0, 0, 639, 479, 0xFFFFFF);
    DrawArc(320, 240, 100, 0xFFFFFF, 0, 6.3f);
    PutImage(0, 0, std::vector<uint8_t>{8 + 4, 0, 1, 0, 1, 2, 3, 4}, kPutOpaque, 0);
    EXPECT_EQ(std::count(PagePixels(0), PagePixels(0) + 640 * 480 * 4, 0), 640 * 480 * 4);
    EXPECT_EQ(ReadPixel(0, 0), -1);
    WaitRetrace();
    EXPECT_EQ(StandInPresents, 1);
}

// Each case runs at 16 and at 32 bits per pixel.
class ScreenAtDepth : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { OpenOffscreenPages(GetParam()); }
};

TEST_P(ScreenAtDepth, DrawingGoesToTheWorkPageAndVisibleChangesAreCounted) {
    SetPages(1, 0);
    uint32_t count = VisibleChangeCount();
    FillBox(10, 20, 10, 20, 0x00FF00);
    EXPECT_EQ(VisibleChangeCount(), count); // hidden drawing
    SetPages(0, 1);
    EXPECT_NE(VisibleChangeCount(), count);
    EXPECT_EQ(RawPixel(10, 20), 0u);
    SetPages(1, 0); // copy goes from whichever page works to whichever is shown
    count = VisibleChangeCount();
    CopyWorkPage();
    EXPECT_NE(VisibleChangeCount(), count);
    SetPages(0, 0);
    EXPECT_EQ(RawPixel(10, 20), NativeColour(0x00FF00));
    count = VisibleChangeCount();
    ClearWorkPage();
    EXPECT_NE(VisibleChangeCount(), count); // drawing on the shown page
    EXPECT_EQ(RawPixel(10, 20), 0u);
    SetPages(2, -1);
    EXPECT_EQ(WorkPageIndex() + VisiblePageIndex(), 0);
}

TEST_P(ScreenAtDepth, ReadPixelWidensAndRefusesOutsidePoints) {
    FillBox(3, 4, 3, 4, 0xFF0000);
    FillBox(9, 4, 9, 4, 0x123456);
    // 16 bits lose the low bits and widen by repeating the top ones.
    EXPECT_EQ(ReadPixel(9, 4), GetParam() == 32 ? 0x123456 : 0x103452);
    EXPECT_EQ(ReadPixel(2.5f, 4.49f), 0xFF0000);
    EXPECT_EQ(ReadPixel(-0.49f, 0), 0);
    for (auto [x, y] : {std::pair(640.0f, 0.0f), {-0.5f, 0}, {NAN, 0}, {1e30f, 0}, {0, 480}})
        EXPECT_EQ(ReadPixel(x, y), -1) << x << "," << y;
}

// Wild numbers, refused images and opacities draw nothing and never crash.
TEST_P(ScreenAtDepth, WildNumbersAndBadImagesDrawNothing) {
    for (float wild : {NAN, INFINITY, -INFINITY}) {
        DrawLine(wild, 0, 10, 10, 0xFF);
        FillBox(0, 0, 10, wild, 0xFF);
        DrawArc(320, 240, wild, 0xFF, 0, 7);
        DrawArc(wild, 240, 5, 0xFF, 0, 7);
        DrawArc(320, 240, 5, 0xFF, wild, 7);
        DrawArc(320, 240, 5, 0xFF, 0, wild);
    }
    DrawLine(-3e38f, 3e38f, -3e38f, -3e38f, 0xFF);
    FillBox(640, 0, 700, 479, 0xFF);
    for (float r : {0.0f, -5.0f, 10001.0f})
        DrawArc(320, 240, r, 0xFF, 0, 7);
    const auto image = Glyph(4, 3, 1);
    auto otherDepth = image;
    otherDepth[0] = uint8_t(4 * 8 + 6 - ScreenBytesPerPixel());
    const std::vector<uint8_t> empty(4, 0);
    for (std::span<const uint8_t> bad :
         {std::span<const uint8_t>(otherDepth), std::span(empty),
          std::span(image).first(image.size() - 1), std::span(image).first(3)})
        PutImage(0, 0, bad, kPutOpaque, 0);
    for (float x : {NAN, INFINITY, -1e30f, -2147483500.0f, 2147483500.0f}) {
        PutImage(x, 0, image, kPutOpaque, 0);
        PutImage(0, x, image, kPutTransparent, 0);
    }
    for (auto [mode, opacity] : {std::pair(kPutBlend, 0), {kPutBlend, -40}, {2, 255}})
        PutImage(0, 0, image, mode, opacity);
    EXPECT_EQ(LitPixels().size(), 0u);
    PutImage(0, 0, image, kPutBlend, 1000); // acts as 255
    EXPECT_EQ(LitPixels(), Box(0, 0, 3, 2));
    EXPECT_EQ(RawPixel(3, 2), GlyphPixel(4, 2));
}

TEST_P(ScreenAtDepth, LineEndsRoundHalvesAwayAndLinesClipToTheScreen) {
    DrawLine(-50, 100, 700, 100, 0x00FF00);
    DrawLine(10.5f, 5, 20, 5, 0x00FF00);
    DrawLine(10.49f, 6, 20, 6, 0x00FF00);
    DrawLine(-0.5f, 7, -0.5f, 9, 0x00FF00);
    DrawLine(-0.49f, 10, -0.49f, 10, 0x00FF00);
    EXPECT_EQ(LitPixels(), Where([](int x, int y) {
                  return y == 100 || (y == 5 && x >= 11 && x <= 20) ||
                         (y == 6 && x >= 10 && x <= 20) || (x == 0 && y == 10);
              }));
    EXPECT_EQ(RawPixel(639, 100), NativeColour(0x00FF00));
    // A clipped end moves to the crossing, truncated: y = 1.5 at x = 0, x = 101.5 at y = 0.
    const PixelSet clipped = Drawn([] {
        DrawLine(-10, 0, 10, 3, 0xFF);
        DrawLine(100, -10, 103, 10, 0xFF);
    });
    EXPECT_TRUE(clipped.count({0, 1}) && !clipped.count({0, 2}));
    EXPECT_TRUE(clipped.count({101, 0}) && !clipped.count({102, 0}));
    EXPECT_EQ(Drawn([] { DrawLine(-1e9f, -1e9f, 1e9f, 1e9f, 0xFF); }),
              Where([](int x, int y) { return x == y; }));
    // Lines past a corner, though their ends lie off different sides, draw nothing.
    EXPECT_EQ(Drawn([] { DrawLine(-10, 5, 5, -10, 0xFF); }).size(), 0u);
    EXPECT_EQ(Drawn([] { DrawLine(630, 490, 660, 470, 0xFF); }).size(), 0u);
}

TEST_P(ScreenAtDepth, LinesPutOnePixelPerMajorStepNearTheTrueLineEitherWay) {
    const int segments[][4] = {{5, 5, 5, 5},      {9, 0, 0, 9},        {3, 2, 40, 13},
                               {100, 7, 89, 200}, {300, 400, 10, 390}, {0, 479, 639, 0}};
    for (const auto &s : segments) {
        const PixelSet forward = Drawn([&] { DrawLine(s[0], s[1], s[2], s[3], 0xFFFFFF); });
        EXPECT_EQ(Drawn([&] { DrawLine(s[2], s[3], s[0], s[1], 0xFFFFFF); }), forward)
            << s[0] << "," << s[1] << " " << s[2] << "," << s[3];
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

TEST_P(ScreenAtDepth, BoxesIncludeBothCornersInAnyOrderAndClip) {
    FillBox(12.5f, 9, 10, 7.5f, 0x0000FF);
    EXPECT_EQ(LitPixels(), Box(10, 8, 13, 9));
    EXPECT_EQ(RawPixel(13, 9), NativeColour(0x0000FF));
    ClearWorkPage();
    FillBox(630, 470, 700, 900, 0xFF);
    EXPECT_EQ(LitPixels(), Box(630, 470, 639, 479));
    FillBox(-1e30f, 1e30f, 1e30f, -1e30f, 0xFF);
    EXPECT_EQ(LitPixels().size(), 640u * 480);
}

// Millions of turns end after a full circle; an angle beyond float precision is one point.
TEST_P(ScreenAtDepth, ArcsStayOnTheirRadiusWithoutGapsAndEndAtAnyAngle) {
    DrawArc(320, 240, 50, 0xFFFF00, 0, 1e7f);
    DrawArc(320, 240, 50, 0xFFFF00, 1e30f, 0);
    const PixelSet lit = LitPixels();
    for (const auto &[x, y] : lit) { // a closed curve: every pixel has two lit neighbours
        EXPECT_NEAR(std::hypot(x - 320.0, y - 240.0), 50, 1.0);
        int neighbours = 0;
        for (int d = 0; d < 9; ++d)
            neighbours += d != 4 && lit.count({x + d % 3 - 1, y + d / 3 - 1});
        EXPECT_GE(neighbours, 2) << x << "," << y;
    }
    EXPECT_EQ(RawPixel(320, 190), NativeColour(0xFFFF00));
}

TEST_P(ScreenAtDepth, ArcsDrawRadiusLinesForNegativeAnglesAndEndsWrapPastStarts) {
    DrawArc(320, 240, 50, 0xFF, -1, -1.1f);
    const PixelSet wedge = LitPixels(); // holds the radius line to the end
    for (const auto &p : Drawn([] {
             DrawLine(320, 240, 320 + 50 * std::cos(1.1f), 240 - 50 * std::sin(1.1f), 0xFF);
         }))
        EXPECT_TRUE(wedge.count(p));
    ClearWorkPage(); // minus zero is not negative; the arc wraps from down-right through 0 to up
    DrawArc(320, 240, 50, 0xFF, -0.0f, 1);
    DrawArc(320, 240, 50, 0xFF, float(1.75 * std::numbers::pi), float(std::numbers::pi / 2));
    for (auto [x, y, lit] :
         {std::tuple(320, 240, false), {320, 190, true}, {320, 290, false}, {270, 240, false}})
        EXPECT_EQ(RawPixel(x, y) != 0, lit) << x << "," << y;
    DrawArc(-9990, 240, 10000, 0xFF, 0, 1); // the largest radius still draws
    EXPECT_NE(RawPixel(10, 240), 0u);
}

TEST_P(ScreenAtDepth, PutsAreClippedAndKeepTheirPosition) {
    const auto glyph = Glyph(23, 23);
    const int at[][2] = {{630, 100}, {-5, 100},  {300, 470}, {300, -7},
                         {-22, -22}, {640, 100}, {100, 480}, {-23, 100}};
    for (auto [x, y] : at) {
        const PixelSet lit = Drawn([&] { PutImage(x, y, glyph, kPutOpaque, 0); });
        EXPECT_EQ(lit, Box(x, y, x + 22, y + 22)) << x << "," << y;
        for (const auto &[px, py] : lit)
            ASSERT_EQ(RawPixel(px, py), GlyphPixel(px - x, py - y)) << x << "," << y;
    }
}

TEST_P(ScreenAtDepth, FullPageGrabRoundTripsAndRefusedGrabsStoreNothing) {
    for (int i = 0; i < 640 * 480 * 4; ++i)
        PagePixels(0)[i] = uint8_t(i * 7 + i / 2560);
    static FullScreenImage grab;
    GrabImage(639, 479, 0, 0, grab);
    SetPages(1, 0);
    PutImage(0, 0, grab, kPutOpaque, 0);
    EXPECT_EQ(std::memcmp(PagePixels(0), PagePixels(1), 640 * 480 * ScreenBytesPerPixel()), 0);
    std::vector<uint8_t> buffer(4 + 10 * 10 * 4, 0xEE);
    // 11 x 19 does not fit 10 x 10 at 32 bits.
    for (auto [x1, x2, y2] :
         {std::tuple(-1.0f, 5.0f, 5.0f), {635, 640, 5}, {0, 5, 479.5f}, {NAN, 5, 5}, {0, 10, 18}})
        GrabImage(x1, 0, x2, y2, buffer);
    GrabImage(0, 0, 0, 0, std::span(buffer).first(3));
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0xEE), std::ptrdiff_t(buffer.size()));
    // A buffer of exactly the needed size is filled to its last byte.
    FillBox(0, 0, 9, 9, 0x336699);
    const int bpp = ScreenBytesPerPixel();
    std::vector<uint8_t> exact(4 + 3 * 2 * bpp, 0xEE);
    GrabImage(2, 3, 4, 4, exact);
    const uint32_t blue = NativeColour(0x336699);
    EXPECT_EQ(std::memcmp(exact.data() + exact.size() - bpp, &blue, bpp), 0);
    EXPECT_EQ(std::pair(exact[0], exact[2]), std::pair(uint8_t(3 * 8 + bpp), uint8_t(2)));
}

INSTANTIATE_TEST_SUITE_P(Depths, ScreenAtDepth, ::testing::Values(16, 32));

} // namespace
} // namespace halvane
