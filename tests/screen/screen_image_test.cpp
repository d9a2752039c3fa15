// Grabbing and putting images: clipping, the mask colour, the blend
// arithmetic against a per-pixel reference, and refused buffers.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/screen/screen_test_util.h"

namespace halvane {
namespace {

class ScreenImage : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { OpenOffscreenPages(GetParam()); }
    bool Wide() const { return GetParam() == 32; }
};

// x in red, y in green, a fixed blue: a shifted, mirrored or swapped copy shows.
uint32_t GlyphPixel(int x, int y) {
    return NativeColour((x * 8u) << 16 | (y * 8u) << 8 | 0x48);
}

TEST_P(ScreenImage, PutsAreClippedAndKeepTheirPosition) {
    const auto glyph = MakeImage(23, 23, GlyphPixel);
    const struct {
        float x, y;
        int firstColumn, columns, firstRow, rows;
    } cases[] = {
        {630, 100, 0, 10, 0, 23}, {-5, 100, 5, 18, 0, 23},  {300, 470, 0, 23, 0, 10},
        {300, -7, 0, 23, 7, 16},  {-22, -22, 22, 1, 22, 1}, {640, 100, 0, 0, 0, 0},
        {100, 480, 0, 0, 0, 0},   {-23, 100, 0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        ClearWorkPage();
        PutImage(c.x, c.y, glyph, kPutOpaque, 0);
        EXPECT_EQ(CountLitPixels(), c.columns * c.rows) << c.x << "," << c.y;
        for (int row = c.firstRow; row < c.firstRow + c.rows; ++row)
            for (int col = c.firstColumn; col < c.firstColumn + c.columns; ++col)
                ASSERT_EQ(RawPixel(int(c.x) + col, int(c.y) + row), GlyphPixel(col, row))
                    << c.x << "," << c.y << " glyph pixel " << col << "," << row;
    }
}

TEST_P(ScreenImage, MagentaIsSkippedExactlyAndOpacityEndsActAsTheirModes) {
    // Magenta with a top byte, magenta but for its lowest bit, a top byte.
    const uint32_t pixels[3] = {Wide() ? 0xAAFF00FFu : 0xF81Fu, Wide() ? 0x00FF00FEu : 0xF81Eu,
                                Wide() ? 0xAB123456u : 0x1234u};
    const auto image = MakeImage(3, 1, [&](int x, int) { return pixels[x]; });
    for (int mode : {kPutTransparent, kPutBlend}) {
        FillBox(0, 0, 10, 0, 0x204060);
        PutImage(0, 0, image, mode, mode == kPutBlend ? 255 : 0);
        EXPECT_EQ(RawPixel(0, 0), NativeColour(0x204060)) << mode;
        EXPECT_EQ(RawPixel(1, 0), pixels[1]) << mode;
        EXPECT_EQ(RawPixel(2, 0), Wide() ? 0x123456u : 0x1234u) << mode;
    }
    // Opaque writes every pixel as it is.
    PutImage(0, 0, image, kPutOpaque, 0);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(RawPixel(x, 0), pixels[x]);

    // Opacity 0 (or less) and unknown modes leave the page untouched;
    // above 255 acts as 255.
    ClearWorkPage();
    const auto glyph = MakeImage(4, 4, [](int x, int y) { return GlyphPixel(x + 1, y); });
    PutImage(0, 0, glyph, kPutBlend, 0);
    PutImage(0, 0, glyph, kPutBlend, -40);
    PutImage(0, 0, glyph, 2, 255);
    EXPECT_EQ(CountLitPixels(), 0);
    PutImage(0, 0, glyph, kPutBlend, 1000);
    EXPECT_EQ(RawPixel(3, 2), GlyphPixel(4, 2));
}

TEST_P(ScreenImage, WhiteOverBlackAtHalfOpacity) {
    const auto white = MakeImage(2, 2, [](int, int) { return NativeColour(0xFFFFFF); });
    PutImage(5, 5, white, kPutBlend, 128);
    // 32 bits: 255 * 129 / 256 floors to 128. 16 bits: k = 16, half of 31
    // and of 63, floored.
    EXPECT_EQ(RawPixel(6, 6), Wide() ? 0x808080u : (15u << 11 | 31u << 5 | 15u));
}

// The blend of one pixel, channel by channel, straight from the rule.
uint32_t ReferenceBlend(uint32_t s, uint32_t d, int opacity, bool wide) {
    if (wide ? (s & 0xFFFFFF) == 0xFF00FF : s == 0xF81F) return d;
    const int shifts[3] = {wide ? 16 : 11, wide ? 8 : 5, 0};
    const uint32_t masks[3] = {wide ? 255u : 31u, wide ? 255u : 63u, wide ? 255u : 31u};
    const double k = wide ? (opacity + 1) / 256.0 : ((opacity + 7) / 8) / 32.0;
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c) {
        const double sc = (s >> shifts[c]) & masks[c], dc = (d >> shifts[c]) & masks[c];
        out |= uint32_t(dc + std::floor((sc - dc) * k)) << shifts[c];
    }
    return out;
}

TEST_P(ScreenImage, BlendMatchesThePerPixelRuleOverRandomPixels) {
    std::mt19937 random(GetParam());
    const uint32_t bits = Wide() ? 0xFFFFFFFFu : 0xFFFFu;
    const uint32_t magenta = Wide() ? 0x55FF00FFu : 0xF81Fu;
    constexpr int w = 613, h = 9;
    for (int opacity : {1, 2, 7, 8, 9, 64, 127, 128, 200, 247, 248, 254}) {
        const auto image = MakeImage(w, h, [&](int, int) {
            return random() % 8 == 0 ? magenta : uint32_t(random()) & bits;
        });
        std::vector<uint32_t> expected;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                SetRawPixel(x + 20, y + 30, uint32_t(random()) & bits);
                uint32_t s = 0;
                std::memcpy(&s, image.data() + 4 + (y * w + x) * ScreenBytesPerPixel(),
                            ScreenBytesPerPixel());
                expected.push_back(ReferenceBlend(s, RawPixel(x + 20, y + 30), opacity, Wide()));
            }
        PutImage(20, 30, image, kPutBlend, opacity);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(RawPixel(x + 20, y + 30), expected[y * w + x])
                    << "opacity " << opacity << " at " << x << "," << y;
    }
}

TEST_P(ScreenImage, FullPageGrabRoundTrips) {
    const int bpp = ScreenBytesPerPixel();
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            SetRawPixel(x, y, GlyphPixel(x % 32, y % 32) + x / 32);
    static FullScreenImage grab;
    grab.fill(0xEE);
    GrabImage(639, 479, 0, 0, grab);
    const ImageHeader header = ReadImageHeader(grab);
    EXPECT_EQ(header.width, 640);
    EXPECT_EQ(header.height, 480);
    EXPECT_EQ(header.bytesPerPixel, bpp);
    const std::size_t size = 4 + std::size_t(640) * 480 * bpp;
    if (!Wide()) {
        EXPECT_EQ(grab[size], 0xEE); // the rest of the buffer is left alone
    }

    SetPages(1, 0);
    PutImage(0, 0, grab, kPutOpaque, 0);
    EXPECT_EQ(std::memcmp(PagePixels(0), PagePixels(1), size - 4), 0);
}

TEST_P(ScreenImage, GrabsOffTheScreenOrTooLargeForTheBufferStoreNothing) {
    FillBox(0, 0, 639, 479, 0x336699);
    std::vector<uint8_t> buffer(4 + 10 * 10 * 4, 0xEE);
    GrabImage(-1, 0, 5, 5, buffer);
    GrabImage(635, 0, 640, 5, buffer);
    GrabImage(0, 0, 5, 479.5f, buffer);
    GrabImage(NAN, 0, 5, 5, buffer);
    GrabImage(0, 0, 10, 18, buffer); // 11 x 19 does not fit 10 x 10 at 32 bits
    std::vector<uint8_t> tiny(3, 0xEE);
    GrabImage(0, 0, 0, 0, tiny);
    for (uint8_t b : buffer)
        ASSERT_EQ(b, 0xEE);
    for (uint8_t b : tiny)
        ASSERT_EQ(b, 0xEE);

    // A buffer of exactly the needed size is filled to its last byte.
    std::vector<uint8_t> exact(4 + 3 * 2 * ScreenBytesPerPixel(), 0xEE);
    GrabImage(2, 3, 4, 4, exact);
    EXPECT_EQ(ReadImageHeader(exact).width, 3);
    EXPECT_EQ(ReadImageHeader(exact).height, 2);
    uint32_t last = 0;
    std::memcpy(&last, exact.data() + exact.size() - ScreenBytesPerPixel(), ScreenBytesPerPixel());
    EXPECT_EQ(last, NativeColour(0x336699));
}

TEST_P(ScreenImage, BadImagesAndWildPositionsDrawNothing) {
    auto image = MakeImage(4, 3, [](int x, int y) { return GlyphPixel(x + 1, y + 1); });
    auto otherDepth = image;
    otherDepth[0] = uint8_t(4 * 8 + (Wide() ? 2 : 4));
    PutImage(0, 0, otherDepth, kPutOpaque, 0);
    PutImage(0, 0, std::vector<uint8_t>(4, 0), kPutOpaque, 0);
    PutImage(0, 0, std::span(image).first(image.size() - 1), kPutOpaque, 0);
    PutImage(0, 0, std::span(image).first(3), kPutOpaque, 0);
    for (float x : {NAN, INFINITY, -1e30f, -2147483500.0f, 2147483500.0f})
        PutImage(x, 0, image, kPutOpaque, 0);
    PutImage(0, -3e9f, image, kPutTransparent, 0);
    EXPECT_EQ(CountLitPixels(), 0);
    PutImage(0, 0, image, kPutOpaque, 0);
    EXPECT_EQ(CountLitPixels(), 12);
}

INSTANTIATE_TEST_SUITE_P(Depths, ScreenImage, ::testing::Values(16, 32));

} // namespace
} // namespace halvane
